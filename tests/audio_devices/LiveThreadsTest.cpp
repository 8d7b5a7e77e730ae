// The thread rules on the real path, for the thread sanitizer: capture started and stopped,
// words recognised and queued to the engine, words played and modes switched many times while
// buffers arrive from the virtual microphone.
#include <gtest/gtest.h>

#include <atomic>

#include "LiveRig.h"
#include "game/CommandIds.h"
#include "recognition/Signals.h"

namespace tessimo {
namespace {

using namespace tessimo::test;

constexpr int Pitches[3] = {60, 64, 67};

std::vector<std::int16_t> wordFor(int pitch) {
    const double f = 200.0 * std::pow(2.0, (pitch - 60) / 4.0);
    return testing::chirp(f, 2 * f, 9000, 2 * CaptureBufferSamples);
}

TEST(LiveThreads, ModesCaptureAndPlaybackSwitchWhileBuffersArrive) {
    LiveRig rig;
    if (!rig.ready())
        GTEST_SKIP() << rig.problem;
    {
        // Templates made without a device and saved where the engine loads them.
        CRecognizer offline;
        const auto quiet = roomNoise(CaptureBufferSamples);
        offline.StartNoiseMeasure();
        offline.onCaptureBuffer(quiet.data(), quiet.size());
        for (int pitch : Pitches) {
            offline.StartWordRecording(pitch);
            const auto w = wordFor(pitch);
            for (std::size_t i = 0; i < w.size(); i += CaptureBufferSamples)
                offline.onCaptureBuffer(w.data() + i, CaptureBufferSamples);
            offline.StopCapture();
        }
        ASSERT_EQ(offline.SaveTemplates("record.dat"), 0);
    }
    std::atomic<int> arrived{0};
    rig.view->setWordArrivalNotifier([&] { ++arrived; });
    rig.view->loadUserFiles();
    SettingsRecord s = testing::settingsWith({60, 64, 67});
    s.soundMode = Instrument;
    s.buildDurationList();
    rig.prepare(s);
    ASSERT_TRUE(rig.view->isCommandEnabled(RecognizeCommand));

    // The microphone hears the words over and over in a quiet room.
    std::vector<std::int16_t> stream = roomNoise(22000 * 30);
    for (std::size_t at = 5000, k = 0; at + 2 * CaptureBufferSamples < stream.size();
         at += 22000, ++k) {
        const auto w = wordFor(Pitches[k % 3]);
        for (std::size_t i = 0; i < w.size(); ++i)
            stream[at + i] = static_cast<std::int16_t>(stream[at + i] + w[i]);
    }
    ASSERT_TRUE(rig.server.play(stream));

    const int commands[] = {RecognizeCommand,   NotesDictationCommand, RecognizeCommand,
                            ListenNotesCommand, PlayNotesCommand,      RecordCommand};
    const auto end = SteadyTime::now() + std::chrono::seconds(12);
    int switches = 0;
    for (std::uint32_t k = 1; SteadyTime::now() < end; ++k) {
        const int command = commands[(k * 7) % 6];
        if (rig.view->isCommandEnabled(command))
            rig.view->onCommand(command);
        ++switches;
        for (int t = 0; t < 1 + static_cast<int>(k % 9); ++t) {
            std::this_thread::sleep_for(std::chrono::milliseconds(15 + k % 40));
            if (!rig.timer.running.empty())
                rig.view->onTimer(1);
            rig.view->judgeRecognizedWords();
            if (k % 5 == 0)
                rig.recognizer->PlayWord(Pitches[k % 3]);
        }
    }
    // A last, longer Recognize hears words to the end.
    rig.view->onCommand(RecognizeCommand);
    const int before = arrived.load();
    rig.runUntil([&] { return arrived.load() > before; }, [] {}, std::chrono::seconds(8));
    rig.view->onCommand(PlayNotesCommand);
    std::printf("%d switches, %d words recognised and queued\n", switches, arrived.load());
    EXPECT_GT(switches, 50);
    EXPECT_GT(arrived.load(), before);
}

} // namespace
} // namespace tessimo
