// What the user-interface thread asks of the embedded synthesiser, one request per ring slot.
#pragma once

#include <cstdint>

namespace tessimo {

struct SynthRequest {
    enum class Kind : std::uint8_t {
        NoteOn,        // key at velocity (velocity 0 releases the key)
        NoteOff,       // releases key
        ProgramChange, // channel plays program from now on
        SilenceAll,    // every voice of every channel stops; the channels keep their programs
    };

    Kind kind = Kind::SilenceAll;
    std::uint8_t channel = 0;  // 0..15
    std::uint8_t key = 0;      // 0..127 for the notes, the program for a program change
    std::uint8_t velocity = 0; // 0..127

    static constexpr SynthRequest noteOn(std::uint8_t channel, std::uint8_t key,
                                         std::uint8_t velocity) {
        return {Kind::NoteOn, channel, key, velocity};
    }
    static constexpr SynthRequest noteOff(std::uint8_t channel, std::uint8_t key) {
        return {Kind::NoteOff, channel, key, 0};
    }
    static constexpr SynthRequest programChange(std::uint8_t channel, std::uint8_t program) {
        return {Kind::ProgramChange, channel, program, 0};
    }
    static constexpr SynthRequest silenceAll() { return {}; }

    bool operator==(const SynthRequest&) const = default;
};

} // namespace tessimo
