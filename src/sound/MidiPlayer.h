// Sounds notes and chords on channel 1 of a MIDI port: one program change per instrument
// change, and every key still held released before the next notes unless they sustain.
#pragma once

#include "sound/MidiOutput.h"
#include "sound/MidiPort.h"

#include <bitset>
#include <cstdint>

namespace tessimo {

class MidiPlayer final : public MidiOutput {
public:
    // The port must outlive the player. Any thread; afterwards only the thread that plays.
    explicit MidiPlayer(MidiPort& port) : port_(port) {}

    // User-interface thread only (the thread that owns the port's sending side).
    int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths, int count,
                 std::uint8_t velocity, bool sustain) override;

    // Same thread as MidiPlay.
    int keyDown(int program, std::uint8_t key, std::uint8_t velocity) override;
    int keyUp(std::uint8_t key) override;

    // Resets the port, which stops every voice. Same thread as MidiPlay.
    int silenceAll() override;

    // Program last sent in a program change, -1 before the first. Same thread as MidiPlay.
    int currentProgram() const { return currentProgram_; }

    // Keys sent a note-on and not released since. Same thread as MidiPlay.
    const std::bitset<128>& heldKeys() const { return held_; }

private:
    bool ensureOpen();
    bool changeProgram(int program);
    bool releaseHeldKeys();

    MidiPort& port_;
    bool notOpened_ = true;
    int currentProgram_ = -1;
    std::bitset<128> held_;
};

} // namespace tessimo
