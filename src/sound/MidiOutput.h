// The entry points through which the exercise engine sounds notes on the synthesiser.
#pragma once

#include <cstdint>

namespace tessimo {

class MidiOutput {
public:
    virtual ~MidiOutput() = default;

    // Sounds count keys at once with a General MIDI program (0..127), or silences everything
    // when program is -1. With sustain false every key still held from earlier calls is
    // released first, so that no note of an instrument that sounds while held (organ,
    // strings) goes on for ever; with sustain true they go on sounding. lengths, one per key,
    // are what the caller reckons each note lasts; MIDI has no field for them and no
    // synthesiser uses them, so they are not sent. Returns 0, or 1 when opening the port, the
    // program change or a release failed.
    // User-interface thread only.
    virtual int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths,
                         int count, std::uint8_t velocity, bool sustain) = 0;

    // Stops every note sounding, held or dying away, keeping the instrument. For every change
    // of exercise and every stop. Returns 0, or 1 when the output could not be told.
    // User-interface thread only.
    virtual int silenceAll() = 0;

    // A key of the player's own instrument pressed: a note-on of key (0..127) with the
    // velocity played, after a program change when program (0..127) differs from the last.
    // The key sounds until keyUp, or until a MidiPlay without sustain or silenceAll releases
    // it; other sounding notes are left alone. Returns 0, or 1 when the output refused it.
    // User-interface thread only.
    virtual int keyDown(int program, std::uint8_t key, std::uint8_t velocity) = 0;

    // The key released: a note-off when it still sounds from keyDown. Returns 0, or 1 when
    // the output refused it. User-interface thread only.
    virtual int keyUp(std::uint8_t key) = 0;

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
