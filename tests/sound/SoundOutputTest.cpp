// Start-up of the real sound output in the background, with and without what it needs.
#include "sound/SoundOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace tessimo;

namespace {

// Counts the start-up notifications and lets the test wait for the first.
struct StartupWatch {
    std::mutex mutex;
    std::condition_variable changed;
    int calls = 0;

    SoundOutput::StartupFinished callback() {
        return [this] {
            std::lock_guard lock(mutex);
            ++calls;
            changed.notify_all();
        };
    }
    int count() {
        std::lock_guard lock(mutex);
        return calls;
    }
    bool waitForFirst() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(15), [this] { return calls > 0; });
    }
};

TEST(SoundOutput, WithoutSoundFontItStaysSilentAndSaysWhy) {
    const auto empty = std::filesystem::temp_directory_path() / "tessimo-no-soundfont-here";
    StartupWatch watch;
    {
        SoundOutput output(watch.callback(), empty);
        ASSERT_TRUE(watch.waitForFirst());
        EXPECT_TRUE(output.startupFinished());
        EXPECT_FALSE(output.isReady());
        EXPECT_EQ(output.silenceReason(), NoSoundFontReason);
        const std::uint8_t key = 60, length = 0;
        EXPECT_EQ(output.MidiPlay(0, &key, &length, 1, ExerciseVelocity, false), 1);
        EXPECT_EQ(output.MidiStop(), 1);
        EXPECT_EQ(output.framesRendered(), 0u);
    }
    EXPECT_EQ(watch.calls, 1);
}

// Whatever this machine offers (CI has no sound device), start-up ends, says why it is silent
// when it is, and MidiPlay reports the matching result.
TEST(SoundOutput, StartupOnThisMachineEndsConsistently) {
    StartupWatch watch;
    {
        auto output = createSoundOutput(watch.callback());
        ASSERT_TRUE(watch.waitForFirst());
        const std::uint8_t key = 60, length = 0;
        const int result = output->MidiPlay(0, &key, &length, 1, ExerciseVelocity, false);
        if (output->isReady()) {
            EXPECT_EQ(output->silenceReason(), "");
            EXPECT_EQ(result, 0);
            EXPECT_GT(output->sampleRate(), 0);
        } else {
            EXPECT_NE(output->silenceReason(), "");
            EXPECT_EQ(result, 1);
            EXPECT_EQ(output->sampleRate(), 0);
        }
    }
    EXPECT_EQ(watch.calls, 1);
}

// The destructor waits at most its bound for start-up, and the listener hears nothing once
// the destructor has returned.
TEST(SoundOutput, DestroyedWhileStartingDoesNotHang) {
    StartupWatch watch;
    auto output = std::make_unique<SoundOutput>(watch.callback());
    const std::uint8_t key = 60, length = 0;
    output->MidiPlay(0, &key, &length, 1, ExerciseVelocity, false); // dropped if not ready
    const auto before = std::chrono::steady_clock::now();
    output.reset();
    const auto destroying = std::chrono::steady_clock::now() - before;
    const int callsAtExit = watch.count();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(watch.count(), callsAtExit);
    EXPECT_LE(callsAtExit, 1);
    EXPECT_LT(destroying, SoundOutput::ExitBound + std::chrono::milliseconds(150));
}

} // namespace
