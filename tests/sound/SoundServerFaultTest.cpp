// The real sound output against a private sound server that is killed, stopped and restarted.
// The test's main thread stands for the user-interface thread: it keeps beating while it asks
// for notes, and the longest gap between two beats is the longest the user interface would
// have waited. A guard ends the process when the beat stops for FreezeLimit, so a freeze fails
// the test instead of hanging it. Every case checks that the sound comes back, by recording
// the speaker, and prints the figures it measured.
#include "AudioAnalysis.h"
#include "PrivateSoundServer.h"
#include "sound/SoundFontLocator.h"
#include "sound/SoundOutput.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace tessimo;
using namespace tessimo::test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// Under a sanitizer the SoundFont alone takes seconds to load, and every new output loads it.
constexpr int Slowdown = 4;
#else
constexpr int Slowdown = 1;
#endif

constexpr auto FreezeLimit = 8s;
// The most the user-interface thread may wait in one call: a freeze lasts seconds, and this
// leaves room for a loaded machine, and more for a sanitizer build, whose runtime itself can
// hold a thread for a quarter of a second.
constexpr auto UiWaitLimit = 200ms * Slowdown;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The beat of the stand-in user-interface thread, with its guard.
class UiPulse {
public:
    explicit UiPulse(const char* name) : name_(name) {
        last_.store(Clock::now().time_since_epoch().count());
        guard_ = std::thread([this] {
            while (!done_.load()) {
                std::this_thread::sleep_for(20ms);
                const Clock::time_point last{Clock::duration(last_.load())};
                if (Clock::now() - last > FreezeLimit) {
                    std::fprintf(stderr, "%s: the user-interface thread froze for over %.0f s\n",
                                 name_, ms(FreezeLimit) / 1000);
                    std::_Exit(1);
                }
            }
        });
    }
    ~UiPulse() {
        done_.store(true);
        guard_.join();
    }

    void beat() {
        const auto now = Clock::now();
        const Clock::time_point last{
            Clock::duration(last_.exchange(now.time_since_epoch().count()))};
        longest_ = std::max(longest_, now - last);
    }

    // Beats every 5 ms for duration, running step (an action of the user interface) between
    // beats every stepEvery.
    void runFor(Clock::duration duration, const std::function<void()>& step = {},
                Clock::duration stepEvery = 100ms) {
        runUntil([] { return false; }, duration, step, stepEvery);
    }

    // The same until done() holds; false when it did not within limit.
    bool runUntil(const std::function<bool()>& done, Clock::duration limit,
                  const std::function<void()>& step = {}, Clock::duration stepEvery = 100ms) {
        const auto end = Clock::now() + limit;
        auto nextStep = Clock::now();
        for (;;) {
            beat();
            if (done())
                return true;
            if (Clock::now() > end)
                return false;
            if (step && Clock::now() >= nextStep) {
                step();
                beat();
                nextStep = Clock::now() + stepEvery;
            }
            std::this_thread::sleep_for(5ms);
        }
    }

    // Runs action between two beats and returns how long it took.
    Clock::duration timed(const std::function<void()>& action) {
        beat();
        const auto begin = Clock::now();
        action();
        const auto took = Clock::now() - begin;
        beat();
        return took;
    }

    // Runs what the test does to the server or measures apart (waits of its own), not counted
    // as a wait of the user interface; returns how long it took.
    Clock::duration apart(const std::function<void()>& action) {
        beat();
        const auto begin = Clock::now();
        action();
        const auto took = Clock::now() - begin;
        last_.store(Clock::now().time_since_epoch().count());
        return took;
    }

    Clock::duration longestGap() const { return longest_; }

private:
    const char* name_;
    std::atomic<Clock::rep> last_{0};
    std::atomic<bool> done_{false};
    Clock::duration longest_{};
    std::thread guard_;
};

int playKey(SoundOutput& output, std::uint8_t key, int program = 0) {
    const std::uint8_t length = 0;
    return output.MidiPlay(program, &key, &length, 1, ExerciseVelocity, false);
}

// True when the recording holds at least 0.2 s of sound at the pitch of key.
bool heardKey(const std::vector<float>& heard, int key) {
    const auto rate = PrivateSoundServer::RecordingRate;
    const auto window = static_cast<std::size_t>(0.2 * rate);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        if (std::fabs(heard[i]) < 1e-3f)
            continue;
        if (i + window > heard.size())
            return false;
        const std::vector<float> note(heard.begin() + static_cast<std::ptrdiff_t>(i),
                                      heard.begin() + static_cast<std::ptrdiff_t>(i + window));
        return std::fabs(centsBetween(keyFrequency(key), estimatePitch(note, rate))) < 50;
    }
    return false;
}

// The status-bar messages an output reported, in order.
class StatusLog {
public:
    SoundOutput::StatusChanged callback(const std::atomic<const SoundOutput*>& output) {
        return [this, &output] {
            std::lock_guard lock(mutex_);
            if (const SoundOutput* reporting = output.load())
                messages_.push_back(reporting->statusMessage());
        };
    }
    int count(const std::string& message) const {
        std::lock_guard lock(mutex_);
        return static_cast<int>(std::count(messages_.begin(), messages_.end(), message));
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> messages_;
};

class SoundServerFault : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(findGeneralMidiSoundFont().empty()) << NoSoundFontReason;
        std::string reason;
        if (!server.start(reason))
            GTEST_SKIP() << "no private sound server: " << reason;
    }

    // An output whose status changes go to log (the pointer is set before the first can
    // arrive, and cleared before the output goes).
    void makeOutput() {
        current = nullptr;
        output = std::make_unique<SoundOutput>(log.callback(current));
        current = output.get();
    }

    void makeReadyOutput(UiPulse& ui) {
        makeOutput();
        // Loading the SoundFont takes seconds under a sanitizer.
        ASSERT_TRUE(ui.runUntil([&] { return output->startupFinished(); }, 20s));
        ASSERT_TRUE(output->isReady()) << output->silenceReason();
    }

    // Destroys the output and returns how long that took the user-interface thread.
    Clock::duration destroyOutput(UiPulse& ui) {
        return ui.timed([&] {
            output.reset();
            current = nullptr;
        });
    }

    void restartServer(UiPulse& ui) {
        std::string reason;
        bool restarted = false;
        ui.apart([&] { restarted = server.restart(reason); });
        ASSERT_TRUE(restarted) << reason;
    }

    // Plays key once the output is ready again (asking for a note every 200 ms meanwhile, as a
    // user would) and checks that the speaker sounds it. Returns the time from now until ready.
    Clock::duration soundReturns(UiPulse& ui, int key) {
        ui.apart([&] { EXPECT_TRUE(server.startRecording()); });
        const auto begin = Clock::now();
        const bool ready = ui.runUntil([&] { return output->isReady(); }, 8s * Slowdown,
                                       [&] { playKey(*output, 48); }, 200ms);
        const auto took = Clock::now() - begin;
        EXPECT_TRUE(ready) << output->silenceReason();
        ui.runFor(300ms);
        ui.apart([&] {
            server.stopRecording();
            EXPECT_TRUE(server.startRecording());
        });
        EXPECT_EQ(playKey(*output, static_cast<std::uint8_t>(key)), 0);
        ui.runFor(600ms);
        output->MidiStop();
        ui.runFor(200ms);
        std::vector<float> heard;
        ui.apart([&] { heard = server.stopRecording(); });
        EXPECT_TRUE(heardKey(heard, key)) << "no sound after the server returned";
        return took;
    }

    // Starts a long organ note that sounds until stopped.
    void startHeldNote(UiPulse& ui) {
        ASSERT_EQ(playKey(*output, 60, 19), 0);
        ui.runFor(300ms);
        ASSERT_GT(output->framesRendered(), 0u);
    }

    PrivateSoundServer server;
    StatusLog log;
    std::atomic<const SoundOutput*> current{nullptr};
    std::unique_ptr<SoundOutput> output;
};

TEST_F(SoundServerFault, KilledWhileIdleTheNextNoteNeitherFreezesNorSilencesForGood) {
    UiPulse ui("killed while idle");
    makeReadyOutput(ui);
    playKey(*output, 69);
    ui.runFor(300ms);
    output->MidiStop();
    ASSERT_TRUE(ui.runUntil([&] { return output->isIdle(); }, 5s));

    ui.apart([&] { ASSERT_TRUE(server.kill()); });
    const auto note = ui.timed([&] { playKey(*output, 72); });
    EXPECT_TRUE(ui.runUntil([&] { return output->status() == SoundOutput::Status::Lost; }, 2s));
    ui.runFor(1s, [&] { EXPECT_EQ(playKey(*output, 74), 1); });
    restartServer(ui);
    const auto back = soundReturns(ui, 76);
    std::printf("killed while idle: next note took %.2f ms, longest UI wait %.2f ms, sound "
                "back %.0f ms after the server\n",
                ms(note), ms(ui.longestGap()), ms(back));
    EXPECT_LT(ui.longestGap(), UiWaitLimit);
    EXPECT_EQ(log.count(SoundOutput::LostMessage), 1);
    EXPECT_EQ(log.count(SoundOutput::BackMessage), 1);
}

TEST_F(SoundServerFault, KilledWhilePlayingTheLossIsSaidOnceAndTheSoundComesBack) {
    UiPulse ui("killed while playing");
    makeReadyOutput(ui);
    startHeldNote(ui);
    ui.apart([&] { ASSERT_TRUE(server.kill()); });
    const auto killed = Clock::now();
    EXPECT_TRUE(ui.runUntil([&] { return output->status() == SoundOutput::Status::Lost; }, 3s));
    const auto noticed = Clock::now() - killed;
    EXPECT_EQ(output->silenceReason(), SoundOutput::LostMessage);
    ui.runFor(1500ms, [&] { playKey(*output, 62); });
    restartServer(ui);
    const auto back = soundReturns(ui, 64);
    std::printf("killed while playing: loss noticed after %.0f ms, longest UI wait %.2f ms, "
                "sound back %.0f ms after the server\n",
                ms(noticed), ms(ui.longestGap()), ms(back));
    EXPECT_LT(ui.longestGap(), UiWaitLimit);
    EXPECT_LT(back, 4s * Slowdown);
    EXPECT_EQ(log.count(SoundOutput::LostMessage), 1);
    EXPECT_EQ(log.count(SoundOutput::BackMessage), 1);
}

TEST_F(SoundServerFault, KilledWhileStartingTheOutputSoundsOnceTheServerReturns) {
    UiPulse ui("killed while starting");
    makeOutput();
    ui.runFor(
        30ms, [&] { playKey(*output, 60); }, 5ms);
    ui.apart([&] { ASSERT_TRUE(server.kill()); });
    ui.runFor(500ms, [&] { playKey(*output, 60); });
    restartServer(ui);
    const auto back = soundReturns(ui, 65);
    std::printf("killed while starting: longest UI wait %.2f ms, sound back %.0f ms after the "
                "server\n",
                ms(ui.longestGap()), ms(back));
    EXPECT_LT(ui.longestGap(), UiWaitLimit);
    EXPECT_LT(back, 4s * Slowdown);
}

TEST_F(SoundServerFault, StoppedAtStartTheOutputStillClosesAtOnce) {
    UiPulse ui("stopped at start");
    ui.apart([&] { ASSERT_TRUE(server.stop()); });
    makeOutput();
    ui.runFor(1s, [&] { EXPECT_EQ(playKey(*output, 60), 1); });
    EXPECT_FALSE(output->startupFinished());
    const auto waited = ui.longestGap();
    const auto exit = destroyOutput(ui);

    // An output started while the server is stopped sounds once it resumes.
    makeOutput();
    ui.runFor(300ms);
    ui.apart([&] { ASSERT_TRUE(server.resume()); });
    const auto back = soundReturns(ui, 67);
    std::printf("stopped at start: longest UI wait %.2f ms, exit took %.1f ms, sound back %.0f "
                "ms after the server resumed\n",
                ms(waited), ms(exit), ms(back));
    EXPECT_LT(waited, UiWaitLimit);
    EXPECT_LT(exit, SoundOutput::ExitBound + 150ms);
}

TEST_F(SoundServerFault, StoppedWhilePlayingItIsSaidAndAtExitTheOutputClosesAtOnce) {
    UiPulse ui("stopped while playing");
    makeReadyOutput(ui);
    startHeldNote(ui);
    ui.apart([&] { ASSERT_TRUE(server.stop()); });
    const auto stopped = Clock::now();
    EXPECT_TRUE(ui.runUntil([&] { return output->status() == SoundOutput::Status::Lost; }, 3s,
                            [&] { playKey(*output, 62); }));
    const auto noticed = Clock::now() - stopped;
    EXPECT_EQ(output->silenceReason(), SoundOutput::StalledMessage);
    ui.apart([&] { ASSERT_TRUE(server.resume()); });
    const auto resumed = Clock::now();
    EXPECT_TRUE(ui.runUntil([&] { return output->isReady(); }, 3s));
    const auto back = Clock::now() - resumed;
    EXPECT_EQ(log.count(SoundOutput::StalledMessage), 1);
    EXPECT_EQ(log.count(SoundOutput::BackMessage), 1);
    output->MidiStop();

    // Stopped again while sounding, then the program exits.
    startHeldNote(ui);
    ui.apart([&] { ASSERT_TRUE(server.stop()); });
    ui.runFor(500ms, [&] { playKey(*output, 64); });
    const auto waited = ui.longestGap();
    const auto exit = destroyOutput(ui);
    ui.apart([&] { ASSERT_TRUE(server.resume()); });
    makeOutput();
    const auto again = soundReturns(ui, 69);
    std::printf("stopped while playing: stall noticed after %.0f ms, sound back %.0f ms after "
                "resuming; stopped at exit: longest UI wait %.2f ms, exit took %.1f ms, a new "
                "output sounded %.0f ms after resuming\n",
                ms(noticed), ms(back), ms(waited), ms(exit), ms(again));
    EXPECT_LT(waited, UiWaitLimit);
    EXPECT_LT(exit, SoundOutput::ExitBound + 150ms);
}

// The command-line check gives up on a stopped server and exits in bounded time.
TEST_F(SoundServerFault, SoundCheckExitsWhileTheServerIsStopped) {
    ASSERT_TRUE(server.stop());
    const auto begin = Clock::now();
    const int status = std::system(TESSIMO_SOUND_CHECK " >/dev/null 2>&1");
    const auto took = Clock::now() - begin;
    std::printf("sound check with the server stopped exited after %.0f ms\n", ms(took));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_LT(took, 8s); // its start-up limit is 3 s
}
} // namespace
