// The three services of a MIDI output port that MidiPlayer needs.
#pragma once

#include <cstdint>

namespace tessimo {

// A packed channel message: status in the low byte, then the first and second data bytes; the
// high byte is 0.
using PackedMidiMessage = std::uint32_t;

inline constexpr PackedMidiMessage packMidiMessage(std::uint8_t status, std::uint8_t d1,
                                                   std::uint8_t d2 = 0) {
    return PackedMidiMessage{status} | PackedMidiMessage{d1} << 8 | PackedMidiMessage{d2} << 16;
}

class MidiPort {
public:
    virtual ~MidiPort() = default;

    // Opens the first output port. Returns false when there is none or it is not usable yet.
    // May be called again after a failure. Same thread as the other calls.
    virtual bool open() = 0;

    // Sends one packed channel message. Returns false when the port refuses it.
    virtual bool send(PackedMidiMessage message) = 0;

    // Silences every note on every channel; the channels keep their programs.
    virtual bool reset() = 0;
};

} // namespace tessimo
