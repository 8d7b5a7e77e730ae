// Levels of the synthesiser at the default master volume, rendered offline on the shipped
// SoundFont exactly as the output stream's callback renders them (synthesiser, its level, the
// master gain): the peak in dBFS of single notes across the exercise range and of chords, with
// the level the synthesiser alone would give for comparison.

#include "sound/ChannelMessageRing.h"
#include "sound/MasterVolume.h"
#include "sound/MidiOutput.h"
#include "sound/SoundFontLocator.h"
#include "sound/SynthEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace tessimo;

namespace {

constexpr double Rate = 48000;
constexpr std::size_t BlockFrames = 256;

struct Peaks {
    double raw = 0;    // the synthesiser alone
    double played = 0; // after its level and the default master gain
};

double dbfs(double peak) {
    return peak > 0 ? 20.0 * std::log10(peak) : -200.0;
}

// Plays keys together at the exercises' velocity on program and renders 2 s.
Peaks renderPeaks(ChannelMessageRing& ring, SynthEngine& engine, int program,
                  const std::vector<int>& keys) {
    ring.push(SynthRequest::programChange(0, static_cast<std::uint8_t>(program)));
    for (int key : keys)
        ring.push(SynthRequest::noteOn(0, static_cast<std::uint8_t>(key),
                                       static_cast<std::uint8_t>(ExerciseVelocity)));
    Peaks peaks;
    std::vector<float> block(2 * BlockFrames);
    const float gain = volumeGain(DefaultVolumePercent);
    for (std::size_t done = 0; done < static_cast<std::size_t>(2 * Rate); done += BlockFrames) {
        engine.render(block.data(), BlockFrames, 2);
        for (float s : block)
            peaks.raw = std::max(peaks.raw, static_cast<double>(std::fabs(s)));
        scaleSamples(block.data(), block.size(), SynthLevel);
        applyMasterGain(block.data(), block.size(), gain);
        for (float s : block)
            peaks.played = std::max(peaks.played, static_cast<double>(std::fabs(s)));
    }
    for (int key : keys)
        ring.push(SynthRequest::noteOff(0, static_cast<std::uint8_t>(key)));
    for (int i = 0; i < 400; ++i) // the release dies away before the next sound
        engine.render(block.data(), BlockFrames, 2);
    return peaks;
}

void print(const char* what, const Peaks& p) {
    std::printf("  %-34s %7.1f dBFS   (synthesiser alone %6.1f dBFS)\n", what, dbfs(p.played),
                dbfs(p.raw));
}

} // namespace

int main() {
    const auto soundFont = findGeneralMidiSoundFont(SoundFontDirectory);
    if (soundFont.empty()) {
        std::printf("no General MIDI SoundFont in %s\n", SoundFontDirectory);
        return 1;
    }
    ChannelMessageRing ring;
    std::string reason;
    auto engine = SynthEngine::create(Rate, soundFont, ring, reason);
    if (engine == nullptr) {
        std::printf("%s\n", reason.c_str());
        return 1;
    }
    std::printf("SoundFont %s, default volume %d %% (gain %.2f), synthesiser level x%.2f\n",
                std::filesystem::weakly_canonical(soundFont).c_str(), DefaultVolumePercent,
                volumeGain(DefaultVolumePercent), static_cast<double>(SynthLevel));
    for (int program : {0, 19, 40}) {
        std::printf("program %d:\n", program);
        Peaks loudest;
        double sumDb = 0;
        int count = 0;
        for (int key = 36; key <= 83; key += 3) {
            const Peaks p = renderPeaks(ring, *engine, program, {key});
            if (p.played > loudest.played)
                loudest = p;
            sumDb += dbfs(p.played);
            ++count;
        }
        print("single note C4 (60)", renderPeaks(ring, *engine, program, {60}));
        std::printf("  %-34s %7.1f dBFS\n", "single notes 36..83, mean peak", sumDb / count);
        print("single notes 36..83, loudest", loudest);
        print("chord C-E-G (60 64 67)", renderPeaks(ring, *engine, program, {60, 64, 67}));
        print("chord C-E-G-C (48 60 64 67)", renderPeaks(ring, *engine, program, {48, 60, 64, 67}));
    }
    return 0;
}
