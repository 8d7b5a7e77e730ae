// The real output stream on a private null sink: it sounds a note, goes idle after the silence
// and a later note starts it again and sounds.
#include "AudioAnalysis.h"
#include "PrivateSoundServer.h"
#include "sound/SoundFontLocator.h"
#include "sound/SoundOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

using namespace tessimo;
using namespace tessimo::test;
using namespace std::chrono_literals;

namespace {

// A stretch of the recording that is not silence, in samples.
struct Sounding {
    std::size_t from;
    std::size_t to;
};

// The sounding stretches, where a gap of at least minGap samples of near silence separates two.
std::vector<Sounding> soundingStretches(const std::vector<float>& samples, std::size_t minGap) {
    std::vector<Sounding> found;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) < 1e-3f)
            continue;
        if (!found.empty() && i - found.back().to < minGap)
            found.back().to = i;
        else
            found.push_back({i, i});
    }
    return found;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

int playKey(SoundOutput& output, std::uint8_t key) {
    const std::uint8_t length = 0;
    return output.MidiPlay(0, &key, &length, 1, ExerciseVelocity, false);
}

TEST(SoundOutputIdle, NoteSoundsStreamIdlesAndTheNextNoteWakesIt) {
    ASSERT_FALSE(findGeneralMidiSoundFont().empty()) << NoSoundFontReason;
    PrivateSoundServer server;
    std::string reason;
    if (!server.start(reason))
        GTEST_SKIP() << "no private sound server: " << reason;
    ASSERT_TRUE(server.startRecording());

    SoundOutput output;
    // Loading the SoundFont takes seconds under a sanitizer.
    ASSERT_TRUE(waitFor([&] { return output.startupFinished(); }, 20000ms));
    ASSERT_TRUE(output.isReady()) << output.silenceReason();
    EXPECT_FALSE(output.isIdle());

    ASSERT_EQ(playKey(output, 69), 0); // A4
    std::this_thread::sleep_for(400ms);
    ASSERT_EQ(output.MidiStop(), 0);

    // Idle two seconds after the silence began, not before.
    const auto silenceBegan = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitFor([&] { return output.isIdle(); }, 4000ms));
    EXPECT_GT(std::chrono::steady_clock::now() - silenceBegan, 1500ms);
    const std::uint64_t idleAt = output.framesRendered();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(output.framesRendered(), idleAt) << "an idle stream still renders";
    // Every change of exercise silences the output: with nothing held, an idle stream is not
    // woken for it.
    EXPECT_EQ(output.silenceAll(), 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(output.isIdle());
    EXPECT_EQ(output.framesRendered(), idleAt) << "silencing woke the idle stream";

    const auto asked = std::chrono::steady_clock::now();
    ASSERT_EQ(playKey(output, 76), 0); // E5, which asks the device thread to wake the stream
    const auto played = std::chrono::steady_clock::now();
    while (output.isIdle() && std::chrono::steady_clock::now() - asked < 500ms)
        std::this_thread::sleep_for(100us);
    EXPECT_FALSE(output.isIdle());
    std::printf("waking note: %.3f ms on the calling thread, stream running after %.1f ms\n",
                std::chrono::duration<double, std::milli>(played - asked).count(),
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - asked)
                    .count());
    std::this_thread::sleep_for(500ms);
    EXPECT_GT(output.framesRendered(),
              idleAt + static_cast<std::uint64_t>(0.3 * output.sampleRate()));
    output.MidiStop();
    std::this_thread::sleep_for(300ms);

    const std::vector<float> heard = server.stopRecording();
    const auto rate = PrivateSoundServer::RecordingRate;
    const auto stretches = soundingStretches(heard, static_cast<std::size_t>(1.0 * rate));
    ASSERT_EQ(stretches.size(), 2u)
        << "expected two notes apart in " << heard.size() / rate << " s of recording";
    const double notes[] = {440.0, 659.26};
    for (std::size_t n = 0; n < 2; ++n) {
        const auto& s = stretches[n];
        ASSERT_GT(s.to - s.from, static_cast<std::size_t>(0.2 * rate)) << "note " << n;
        const std::vector<float> note(heard.begin() + static_cast<std::ptrdiff_t>(s.from),
                                      heard.begin() +
                                          static_cast<std::ptrdiff_t>(s.from + 0.2 * rate));
        EXPECT_NEAR(centsBetween(notes[n], estimatePitch(note, rate)), 0, 50) << "note " << n;
    }
    EXPECT_GT(static_cast<double>(stretches[1].from - stretches[0].to) / rate, 1.5);
}

} // namespace
