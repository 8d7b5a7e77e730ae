#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "EngineRig.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::settingsWith;

// A window whose repaint, requested in the middle of a tick, lets a word "arrive".
class WordDuringRepaint : public testing::FakeWindow {
public:
    std::function<void()> onRepaint;
    void repaintAll() override {
        FakeWindow::repaintAll();
        if (onRepaint) {
            auto hook = std::move(onRepaint);
            onRepaint = nullptr;
            hook();
        }
    }
};

struct HandOverRig {
    testing::FakeClock clock;
    testing::FakeTimer timer;
    WordDuringRepaint window;
    testing::FakeConfirmation confirmation;
    testing::FakeDialogs dialogs;
    testing::FakeManuals manuals;
    testing::RecordingMidi midi;
    testing::FakeRecognizer recognizer;
    testing::ScriptedRandom random;
    testing::FakeStatus status;
    CBrindelView view{ViewServices{clock, timer, window, confirmation, dialogs, manuals, midi,
                                   recognizer, random, status}};

    void start(std::initializer_list<int> pitches) {
        recognizer.templates.fill(1);
        recognizer.loadResult = 0;
        view.loadUserFiles();
        SettingsRecord s = settingsWith(pitches);
        s.soundMode = Instrument;
        view.settings() = s;
        view.prepareExercise();
        ASSERT_TRUE(view.onCommand(RecognizeCommand));
    }
    void tick() {
        clock.now += 40;
        view.onTimer(1);
    }
};

TEST(WordHandOver, WordArrivingDuringATickIsJudgedAfterIt) {
    HandOverRig rig;
    rig.start({64});
    for (int i = 0; i < 3; ++i) {
        rig.tick();
    }
    ASSERT_EQ(rig.view.state().expectedPitch, 64);
    bool delivered = false;
    rig.window.onRepaint = [&] { delivered = rig.recognizer.recognise(64); };
    rig.view.onTimer(1); // the word arrives while this tick runs
    ASSERT_TRUE(delivered);
    EXPECT_EQ(rig.view.state().okCount, 0); // not judged inside the tick
    rig.tick();
    EXPECT_EQ(rig.view.state().okCount, 1);
}

TEST(WordHandOver, WordsOfAStoppedGameAreDropped) {
    HandOverRig rig;
    rig.start({64});
    rig.recognizer.recognise(60);
    rig.view.onCommand(RecognizeCommand); // restarts: the queued word belongs to the old game
    rig.tick();
    EXPECT_EQ(rig.view.state().errorCount, 0);
}

// The recogniser and the window timer outlive the view: once it is gone, neither may call into it.
TEST(WordHandOver, DestroyedViewLeavesNoCaptureOrTimerBehind) {
    testing::FakeClock clock;
    testing::FakeTimer timer;
    testing::FakeWindow window;
    testing::FakeConfirmation confirmation;
    testing::FakeDialogs dialogs;
    testing::FakeManuals manuals;
    testing::RecordingMidi midi;
    testing::FakeRecognizer recognizer;
    testing::ScriptedRandom random;
    testing::FakeStatus status;
    auto view = std::make_unique<CBrindelView>(ViewServices{
        clock, timer, window, confirmation, dialogs, manuals, midi, recognizer, random, status});
    recognizer.templates.fill(1);
    recognizer.loadResult = 0;
    view->loadUserFiles();
    SettingsRecord s = settingsWith({64});
    s.soundMode = Instrument;
    view->settings() = s;
    view->prepareExercise();
    ASSERT_TRUE(view->onCommand(RecognizeCommand));
    ASSERT_TRUE(recognizer.capturing);
    ASSERT_EQ(timer.running.size(), 1u);

    view.reset();
    EXPECT_FALSE(recognizer.capturing);
    EXPECT_EQ(recognizer.callback, nullptr);
    EXPECT_TRUE(timer.running.empty());
}

TEST(WordHandOver, ConcurrentProducerLosesNothingAccepted) {
    HandOverRig rig;
    rig.start({64});
    for (int i = 0; i < 3; ++i) {
        rig.tick();
    }
    ASSERT_EQ(rig.view.state().expectedPitch, 64);
    constexpr int Words = 4000;
    std::atomic<int> accepted{0};
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int i = 0; i < Words; ++i) {
            // Wrong words only (60): every one is counted, none is consumed by a right answer.
            if (rig.view.postRecognizedWord(60)) {
                accepted.fetch_add(1, std::memory_order_relaxed);
            } else {
                std::this_thread::yield();
            }
        }
        done = true;
    });
    while (!done.load()) {
        rig.tick();
    }
    audio.join();
    rig.tick();
    EXPECT_EQ(rig.view.state().errorCount, accepted.load());
    EXPECT_GT(accepted.load(), 0);
}

} // namespace
} // namespace tessimo
