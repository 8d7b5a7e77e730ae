// Without any MIDI system (no ALSA sequencer device, no JACK server): the input starts at once,
// says why there is no keyboard once, and stops at once.
#include "midi/MidiInput.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace tessimo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void expectNoSequencerAtOnce(MidiBackendChoice backend) {
    MidiInputOptions options;
    options.backend = backend;
    options.pollInterval = 100ms;
    const auto start = Clock::now();
    std::optional<MidiInputStatus> status;
    int changes = 0;
    {
        MidiInput input(options);
        EXPECT_LT(Clock::now() - start, 200ms); // construction only starts a thread
        const auto deadline = Clock::now() + 5s;
        while (Clock::now() < deadline) {
            if (auto change = input.takeStatusChange()) {
                status = change;
                ++changes;
            }
            EXPECT_TRUE(input.drain().empty());
            std::this_thread::sleep_for(5ms);
            if (status && Clock::now() - start > 1s) {
                break; // several polls passed: long enough to see a repeat
            }
        }
    }
    ASSERT_TRUE(status);
    EXPECT_EQ(status->state, MidiInputState::NoSequencer);
    EXPECT_EQ(describeMidiInputStatus(*status),
              "No MIDI keyboard: there is no MIDI sequencer on this machine");
    EXPECT_EQ(changes, 1); // said once, although the worker looked again at every poll
}

TEST(MidiInputAbsent, NoJackServerSaysSoOnceAndNeverHangs) {
    // A server name nobody runs: JACK is asked and answers at once that there is none.
    ::setenv("JACK_DEFAULT_SERVER", ("tessimo-nobody-" + std::to_string(::getpid())).c_str(), 1);
    ::setenv("JACK_NO_START_SERVER", "1", 1);
    expectNoSequencerAtOnce(MidiBackendChoice::Jack);
}

TEST(MidiInputAbsent, NeitherSequencerNorJack) {
    if (::access("/dev/snd/seq", F_OK) == 0) {
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    }
    ::setenv("JACK_DEFAULT_SERVER", ("tessimo-nobody-" + std::to_string(::getpid())).c_str(), 1);
    ::setenv("JACK_NO_START_SERVER", "1", 1);
    expectNoSequencerAtOnce(MidiBackendChoice::Automatic);
}

} // namespace
} // namespace tessimo
