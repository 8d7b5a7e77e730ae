// Sounds notes and chords on channel 1 of a MIDI port: one program change per instrument
// change, and the last key sent cut off before the next notes unless they sustain.
#pragma once

#include "sound/MidiOutput.h"
#include "sound/MidiPort.h"

#include <cstdint>

namespace tessimo {

class MidiPlayer final : public MidiOutput {
public:
    // The port must outlive the player. Any thread; afterwards only the thread that plays.
    explicit MidiPlayer(MidiPort& port) : port_(port) {}

    // User-interface thread only (the thread that owns the port's sending side).
    int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths, int count,
                 std::uint8_t velocity, bool sustain) override;

    // Program last sent in a program change, -1 before the first. Same thread as MidiPlay.
    int currentProgram() const { return currentProgram_; }

private:
    MidiPort& port_;
    bool notOpened_ = true;
    int currentProgram_ = -1;
    std::uint8_t lastKey_ = 0;
};

} // namespace tessimo
