// Plays a C major scale and a chord on the General MIDI synthesiser through the default sound
// output, so the sound path can be heard without the window. Prints why it stays silent when
// it does, and exits 0 either way. A sound server that does not answer within StartupLimit
// counts as silent; the exit never waits on it for longer than SoundOutput::ExitBound.
//
//   tessimo_sound_check [program]     program: General MIDI program 0..127, default 0

#include "sound/InstrumentTable.h"
#include "sound/SoundOutput.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

using namespace tessimo;

namespace {

constexpr auto StartupLimit = SoundOutput::SlowStartup;

} // namespace

int main(int argc, char** argv) {
    int program = 0;
    if (argc > 1) {
        char* end = nullptr;
        const long value = std::strtol(argv[1], &end, 10);
        if (end == argv[1] || *end != '\0' || value < 0 || value >= InstrumentCount) {
            std::fprintf(stderr, "usage: %s [program 0..127]\n", argv[0]);
            return 2;
        }
        program = static_cast<int>(value);
    }

    std::mutex mutex;
    std::condition_variable startedUp;
    bool finished = false;
    SoundOutput output([&] {
        std::lock_guard lock(mutex);
        finished = true;
        startedUp.notify_one();
    });
    const auto begin = std::chrono::steady_clock::now();
    bool answered = false;
    {
        std::unique_lock lock(mutex);
        answered = startedUp.wait_for(lock, StartupLimit, [&] { return finished; });
    }
    const auto startupMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - begin)
                               .count();
    if (!answered) {
        std::printf("Silent: the sound server did not answer within %lld s\n",
                    static_cast<long long>(StartupLimit.count()));
        return 0;
    }
    if (!output.isReady()) {
        std::printf("Silent: %s (start-up took %lld ms)\n", output.silenceReason().c_str(),
                    static_cast<long long>(startupMs));
        return 0;
    }
    std::printf("Playing on %s, %.0f Hz, %d channel(s), latency %llu frames (start-up %lld ms)\n",
                InstrumentTable[static_cast<std::size_t>(program)].name, output.sampleRate(),
                output.channelCount(),
                static_cast<unsigned long long>(output.outputLatencyFrames()),
                static_cast<long long>(startupMs));

    const std::uint8_t length = 16;
    for (std::uint8_t key : {60, 62, 64, 65, 67, 69, 71, 72}) {
        if (output.MidiPlay(program, &key, &length, 1, ExerciseVelocity, false) != 0)
            std::printf("MIDI failure on key %d\n", key);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    const std::array<std::uint8_t, 4> chord = {60, 64, 67, 72};
    const std::array<std::uint8_t, 4> lengths = {32, 32, 32, 32};
    output.MidiPlay(program, chord.data(), lengths.data(), static_cast<int>(chord.size()),
                    ExerciseVelocity, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    output.MidiStop();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (!output.isReady())
        std::printf("%s\n", output.statusMessage().c_str());
    std::printf("%llu frames rendered\n", static_cast<unsigned long long>(output.framesRendered()));
    return 0;
}
