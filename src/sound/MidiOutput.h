// The two entry points through which the exercise engine sounds notes on the synthesiser.
#pragma once

#include <cstdint>

namespace tessimo {

class MidiOutput {
public:
    virtual ~MidiOutput() = default;

    // Sounds count keys at once with a General MIDI program (0..127), or silences everything
    // when program is -1. lengths travel in the unused fourth byte of each note-on. With
    // sustain false the last key sent before is cut off first. Returns 0, or 1 when opening
    // the port, the program change or the note-off failed.
    // User-interface thread only.
    virtual int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths,
                         int count, std::uint8_t velocity, bool sustain) = 0;

    // MidiPlay(-1, {0}, {0}, 1, 0, false). User-interface thread only.
    int MidiStop() {
        const std::uint8_t key = 0;
        const std::uint8_t length = 0;
        return MidiPlay(-1, &key, &length, 1, 0, false);
    }
};

// Velocity of every note the exercises play.
inline constexpr std::uint8_t ExerciseVelocity = 100;

} // namespace tessimo
