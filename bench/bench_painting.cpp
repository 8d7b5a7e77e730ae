// Median time of a full frame of the main view (compose off screen and copy onto a window-sized
// image, as a paint event does) in every game mode at three window sizes. Notes scroll between
// frames, so only the static layer is cached. Also prints the cost of a static-layer rebuild.
#include "PaintScenes.h"
#include "display/FramePainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tessimo;
using namespace tessimo::testing;

namespace {

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double frameMs(FramePainter& painter, QImage& window, FrameState scene, int frames) {
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        for (ListNote& note : scene.questionNotes) {
            note.x -= 8;
        }
        const auto start = std::chrono::steady_clock::now();
        QPainter target(&window);
        painter.paint(target, window.size(), scene);
        target.end();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    return medianOf(times);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QSize sizes[] = {QSize(1000, 600), QSize(1920, 1080), QSize(3840, 2160)};
    const struct {
        PaintMode mode;
        SceneStaff staff;
        const char* name;
    } modes[] = {
        {PaintMode::Idle, SceneStaff::Treble, "Idle"},
        {PaintMode::ListenNotes, SceneStaff::Both, "ListenNotes"},
        {PaintMode::PlayNotes, SceneStaff::Treble, "PlayNotes"},
        {PaintMode::NotesDictation, SceneStaff::Treble, "NotesDictation"},
        {PaintMode::PlayIntervals, SceneStaff::Both, "PlayIntervals"},
        {PaintMode::IntervalDictation, SceneStaff::Both, "IntervalDictation"},
        {PaintMode::PlayChords, SceneStaff::Bass, "PlayChords"},
        {PaintMode::ChordsDictation, SceneStaff::Both, "ChordsDictation"},
        {PaintMode::Record, SceneStaff::Treble, "Record"},
        {PaintMode::RecordReplay, SceneStaff::Both, "RecordReplay"},
        {PaintMode::Recognize, SceneStaff::Both, "Recognize"},
    };
    const int frames = argc > 1 ? std::max(3, std::atoi(argv[1])) : 41;
    std::printf("median full frame in ms (%d frames each)\n", frames);
    std::printf("%-18s", "mode");
    for (const QSize& size : sizes) {
        std::printf(" %9dx%-5d", size.width(), size.height());
    }
    std::printf("\n");
    std::vector<std::vector<double>> perSize(std::size(sizes));
    for (const auto& mode : modes) {
        std::printf("%-18s", mode.name);
        for (std::size_t s = 0; s < std::size(sizes); ++s) {
            FramePainter painter;
            QImage window(sizes[s], QImage::Format_RGB32);
            const FrameState scene = busyScene(mode.mode, mode.staff);
            const double ms = frameMs(painter, window, scene, frames);
            perSize[s].push_back(ms);
            std::printf(" %15.2f", ms);
        }
        std::printf("\n");
    }
    std::printf("%-18s", "worst mode");
    for (const auto& times : perSize) {
        std::printf(" %15.2f", *std::max_element(times.begin(), times.end()));
    }
    std::printf("\n%-18s", "static rebuild");
    for (const QSize& size : sizes) {
        FramePainter painter;
        QImage window(size, QImage::Format_RGB32);
        FrameState scene = busyScene(PaintMode::NotesDictation, SceneStaff::Both);
        std::vector<double> times;
        for (int i = 0; i < 7; ++i) {
            scene.table[40].selected = i % 2 == 0; // forces a rebuild of the static layer
            const auto start = std::chrono::steady_clock::now();
            QPainter target(&window);
            painter.paint(target, size, scene);
            target.end();
            times.push_back(std::chrono::duration<double, std::milli>(
                                std::chrono::steady_clock::now() - start)
                                .count());
        }
        std::printf(" %15.2f", medianOf(times));
    }
    std::printf("\n");
    return 0;
}
