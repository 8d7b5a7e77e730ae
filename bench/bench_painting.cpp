// Median time of a full frame of the main view (compose off screen and copy onto a window-sized
// image, as a paint event does) in every game mode at three window sizes. Notes scroll between
// frames, so only the static layer is cached. Also prints the composition alone, a rebuild of
// the static layer and a bare copy of one frame's pixels (the floor of any full repaint).
// Each figure is "wall / cpu" in milliseconds: on a machine shared with other work the wall
// time includes waiting for a core, the thread's CPU time does not.
#include "PaintScenes.h"
#include "display/FramePainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

using namespace tessimo;
using namespace tessimo::testing;

namespace {

struct Figure {
    double wall = 0;
    double cpu = 0;
};

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs step `count` times after one untimed warm-up run and returns the medians.
Figure measure(int count, const std::function<void(int)>& step) {
    step(-1);
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < count; ++i) {
        const double cpuStart = threadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        step(i);
        walls.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        cpus.push_back(threadCpuMs() - cpuStart);
    }
    return Figure{medianOf(walls), medianOf(cpus)};
}

void printFigure(const Figure& f) {
    std::printf("  %7.2f / %-7.2f", f.wall, f.cpu);
}

void scroll(FrameState& scene) {
    for (ListNote& note : scene.questionNotes) {
        note.x -= 8;
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QSize sizes[] = {QSize(1000, 600), QSize(1920, 1080), QSize(3840, 2160)};
    const struct {
        GameMode mode;
        SceneStaff staff;
        const char* name;
    } modes[] = {
        {GameMode::Idle, SceneStaff::Treble, "Idle"},
        {GameMode::ListenNotes, SceneStaff::Both, "ListenNotes"},
        {GameMode::PlayNotes, SceneStaff::Treble, "PlayNotes"},
        {GameMode::NotesDictation, SceneStaff::Treble, "NotesDictation"},
        {GameMode::PlayIntervals, SceneStaff::Both, "PlayIntervals"},
        {GameMode::IntervalDictation, SceneStaff::Both, "IntervalDictation"},
        {GameMode::PlayChords, SceneStaff::Bass, "PlayChords"},
        {GameMode::ChordsDictation, SceneStaff::Both, "ChordsDictation"},
        {GameMode::Record, SceneStaff::Treble, "Record"},
        {GameMode::RecordReplay, SceneStaff::Both, "RecordReplay"},
        {GameMode::Recognize, SceneStaff::Both, "Recognize"},
    };
    const int frames = argc > 1 ? std::max(3, std::atoi(argv[1])) : 41;
    std::printf("median of %d frames, ms as wall / cpu\n%-18s", frames, "");
    for (const QSize& size : sizes) {
        std::printf("  %9dx%-8d", size.width(), size.height());
    }
    std::printf("\n");

    std::vector<Figure> worstFrame(std::size(sizes));
    std::vector<Figure> worstCompose(std::size(sizes));
    for (const auto& mode : modes) {
        std::printf("%-18s", mode.name);
        for (std::size_t s = 0; s < std::size(sizes); ++s) {
            FramePainter painter;
            QImage window(sizes[s], QImage::Format_RGB32);
            FrameState scene = busyScene(mode.mode, mode.staff);
            const Figure frame = measure(frames, [&](int) {
                scroll(scene);
                QPainter target(&window);
                painter.paint(target, window.size(), scene);
            });
            const Figure compose = measure(frames, [&](int) {
                scroll(scene);
                painter.compose(sizes[s], 1.0, scene);
            });
            printFigure(frame);
            worstFrame[s].wall = std::max(worstFrame[s].wall, frame.wall);
            worstFrame[s].cpu = std::max(worstFrame[s].cpu, frame.cpu);
            worstCompose[s].wall = std::max(worstCompose[s].wall, compose.wall);
            worstCompose[s].cpu = std::max(worstCompose[s].cpu, compose.cpu);
        }
        std::printf("\n");
    }
    std::printf("%-18s", "worst full frame");
    for (const Figure& f : worstFrame) {
        printFigure(f);
    }
    std::printf("\n%-18s", "worst compose");
    for (const Figure& f : worstCompose) {
        printFigure(f);
    }

    std::printf("\n%-18s", "static rebuild");
    for (const QSize& size : sizes) {
        FramePainter painter;
        QImage window(size, QImage::Format_RGB32);
        FrameState scene = busyScene(GameMode::NotesDictation, SceneStaff::Both);
        printFigure(measure(7, [&](int i) {
            scene.table[40].selected = i % 2 == 0; // a new selection rebuilds the static layer
            QPainter target(&window);
            painter.paint(target, size, scene);
        }));
    }

    std::printf("\n%-18s", "one frame copy");
    for (const QSize& size : sizes) {
        QImage from(size, QImage::Format_RGB32);
        QImage to(size, QImage::Format_RGB32);
        from.fill(Qt::white);
        to.fill(Qt::black);
        printFigure(measure(frames, [&](int) {
            std::memcpy(to.bits(), from.constBits(), static_cast<std::size_t>(from.sizeInBytes()));
        }));
    }
    std::printf("\n");
    return 0;
}
