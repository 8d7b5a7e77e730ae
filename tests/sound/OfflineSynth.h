// The synthesiser played through MidiPlayer and rendered offline, without a sound device.
#pragma once

#include "sound/ChannelMessageRing.h"
#include "sound/MidiPlayer.h"
#include "sound/SoundFontLocator.h"
#include "sound/SynthEngine.h"
#include "sound/SynthMidiPort.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace tessimo::test {

// The SoundFont the program would use, and TimGM6mb (what a fresh setup installs) when the
// default is another one.
inline std::vector<std::filesystem::path> soundFontsUnderTest() {
    std::vector<std::filesystem::path> fonts;
    const auto found = findGeneralMidiSoundFont();
    if (!found.empty())
        fonts.push_back(found);
    const std::filesystem::path small = std::filesystem::path(SoundFontDirectory) / "TimGM6mb.sf2";
    std::error_code error;
    if (std::filesystem::is_regular_file(small, error) &&
        (found.empty() || !std::filesystem::equivalent(found, small, error)))
        fonts.push_back(small);
    return fonts;
}

struct OfflineSynth {
    static constexpr double Rate = 44100;

    ChannelMessageRing ring;
    SynthMidiPort port{ring};
    MidiPlayer player{port};
    std::string reason;
    std::unique_ptr<SynthEngine> engine;

    explicit OfflineSynth(const std::filesystem::path& soundFont) {
        engine = SynthEngine::create(Rate, soundFont, ring, reason);
        port.markReady();
    }

    int play(int program, std::initializer_list<std::uint8_t> keys, bool sustain) {
        const std::vector<std::uint8_t> k(keys);
        const std::vector<std::uint8_t> lengths(k.size(), 16);
        return player.MidiPlay(program, k.data(), lengths.data(), static_cast<int>(k.size()),
                               ExerciseVelocity, sustain);
    }

    // Renders mono sound in blocks of the given size.
    std::vector<float> render(double seconds, std::size_t block = 256) {
        std::vector<float> out(static_cast<std::size_t>(std::lround(seconds * Rate)));
        for (std::size_t at = 0; at < out.size(); at += block)
            engine->render(out.data() + at, std::min(block, out.size() - at), 1);
        return out;
    }
};

// The part of samples between two times in seconds.
inline std::vector<float> slice(const std::vector<float>& samples, double from, double to) {
    const auto a = static_cast<std::size_t>(from * OfflineSynth::Rate);
    const auto b = std::min(samples.size(), static_cast<std::size_t>(to * OfflineSynth::Rate));
    return {samples.begin() + static_cast<std::ptrdiff_t>(a),
            samples.begin() + static_cast<std::ptrdiff_t>(b)};
}

} // namespace tessimo::test
