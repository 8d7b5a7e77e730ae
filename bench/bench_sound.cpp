// Figures of the embedded synthesiser, rendered offline as the output stream's callback does:
// the SoundFont's load time, the render cost per second of audio (and as a fraction of real
// time) while exercises play, and the delay from MidiPlay to the first non-silent sample.

#include "sound/ChannelMessageRing.h"
#include "sound/MidiPlayer.h"
#include "sound/SoundFontLocator.h"
#include "sound/SynthEngine.h"
#include "sound/SynthMidiPort.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace tessimo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t BlockFrames = 256; // the output stream's block

struct Synth {
    ChannelMessageRing ring;
    SynthMidiPort port{ring};
    MidiPlayer player{port};
    std::unique_ptr<SynthEngine> engine;
    std::vector<float> block = std::vector<float>(2 * BlockFrames);

    int play(int program, const std::vector<std::uint8_t>& keys, bool sustain) {
        const std::vector<std::uint8_t> lengths(keys.size(), 16);
        return player.MidiPlay(program, keys.data(), lengths.data(), static_cast<int>(keys.size()),
                               ExerciseVelocity, sustain);
    }
};

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Renders `audioSeconds` of sound in blocks, starting `chordKeys` keys every half second (as a
// dictation exercise does at its quickest), and returns the wall time per second of audio.
double renderCost(Synth& synth, double rate, int program, int chordKeys, bool sustain,
                  double audioSeconds) {
    const auto blocks = static_cast<std::size_t>(audioSeconds * rate / BlockFrames);
    const auto blocksPerChord = static_cast<std::size_t>(0.5 * rate / BlockFrames);
    Clock::duration spent{};
    int step = 0;
    for (std::size_t b = 0; b < blocks; ++b) {
        if (chordKeys > 0 && b % blocksPerChord == 0) {
            std::vector<std::uint8_t> keys;
            for (int k = 0; k < chordKeys; ++k)
                keys.push_back(static_cast<std::uint8_t>(48 + (step * 5 + k * 4) % 36));
            ++step;
            synth.play(program, keys, sustain);
        }
        const auto start = Clock::now();
        synth.engine->render(synth.block.data(), BlockFrames, 2);
        spent += Clock::now() - start;
    }
    synth.player.MidiStop();
    return seconds(spent) / audioSeconds;
}

// Frames from MidiPlay to the first sample above 1e-5, rendering blocks as the stream does.
long firstSoundDelay(Synth& synth, int program, std::uint8_t key) {
    synth.player.MidiStop();
    for (int i = 0; i < 40; ++i) // let the stopped sound's tail pass
        synth.engine->render(synth.block.data(), BlockFrames, 2);
    synth.play(program, {key}, false);
    for (long block = 0; block < 400; ++block) {
        synth.engine->render(synth.block.data(), BlockFrames, 2);
        for (std::size_t i = 0; i < 2 * BlockFrames; ++i) {
            if (std::abs(synth.block[i]) > 1e-5f)
                return block * static_cast<long>(BlockFrames) + static_cast<long>(i / 2);
        }
    }
    return -1;
}

void benchSoundFont(const std::filesystem::path& font) {
    std::printf("SoundFont %s\n", std::filesystem::weakly_canonical(font).c_str());
    for (double rate : {44100.0, 48000.0}) {
        Synth synth;
        std::string reason;
        const auto loadStart = Clock::now();
        synth.engine = SynthEngine::create(rate, font, synth.ring, reason);
        const double loadMs = 1000 * seconds(Clock::now() - loadStart);
        if (synth.engine == nullptr) {
            std::printf("  %s\n", reason.c_str());
            return;
        }
        synth.port.markReady();
        std::printf("  %.0f Hz, blocks of %zu frames, stereo; SoundFont loaded in %.1f ms\n", rate,
                    BlockFrames, loadMs);

        struct Case {
            const char* name;
            int program;
            int keys;
            bool sustain;
        };
        const std::array<Case, 4> cases = {{{"idle", 0, 0, false},
                                            {"piano, one note each 0.5 s", 0, 1, false},
                                            {"piano, 4-note chords, sustain", 0, 4, true},
                                            {"strings, 4-note chords", 48, 4, false}}};
        for (const Case& c : cases) {
            const double cost = renderCost(synth, rate, c.program, c.keys, c.sustain, 20.0);
            std::printf("    render %-32s %7.2f ms per second of audio (%.4f of real time)\n",
                        c.name, 1000 * cost, cost);
        }

        for (int program : {0, 19, 40, 73}) {
            long total = 0, worst = 0, count = 0;
            bool silent = false;
            for (std::uint8_t key : {36, 48, 60, 72, 83}) {
                const long delay = firstSoundDelay(synth, program, key);
                if (delay < 0) {
                    silent = true;
                    continue;
                }
                total += delay;
                worst = std::max(worst, delay);
                ++count;
            }
            std::printf("    MidiPlay to first sound, program %3d: mean %5.1f frames, worst %ld "
                        "frames (%.2f ms)%s\n",
                        program, count > 0 ? static_cast<double>(total) / count : 0.0, worst,
                        1000.0 * static_cast<double>(worst) / rate,
                        silent ? "; some keys stayed silent" : "");
        }
    }
}

} // namespace

int main() {
    std::vector<std::filesystem::path> fonts;
    const auto found = findGeneralMidiSoundFont();
    if (!found.empty())
        fonts.push_back(found);
    const auto small = std::filesystem::path(SoundFontDirectory) / "TimGM6mb.sf2";
    std::error_code error;
    if (std::filesystem::is_regular_file(small, error) &&
        (found.empty() || !std::filesystem::equivalent(found, small, error)))
        fonts.push_back(small);
    if (fonts.empty()) {
        std::printf("%s\n", NoSoundFontReason);
        return 1;
    }
    std::printf(
        "Delays count from the start of the block after MidiPlay; the stream adds up to one "
        "block (%zu frames) of waiting and the device's own latency.\n",
        BlockFrames);
    for (const auto& font : fonts)
        benchSoundFont(font);
    return 0;
}
