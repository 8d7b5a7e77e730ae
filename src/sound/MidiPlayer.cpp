#include "sound/MidiPlayer.h"

namespace tessimo {

namespace {
constexpr std::uint8_t ProgramChangeChannel1 = 0xC0;
constexpr std::uint8_t NoteOnChannel1 = 0x90;
} // namespace

int MidiPlayer::MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths,
                         int count, std::uint8_t velocity, bool sustain) {
    if (notOpened_) {
        if (!port_.open())
            return 1; // stays not opened: the next call tries again
        notOpened_ = false;
    }

    if (program != currentProgram_ && program != -1) {
        // A program outside 0..127 does not fit a data byte: the port refuses the message.
        const auto message = ProgramChangeChannel1 | static_cast<PackedMidiMessage>(program) << 8;
        if (!port_.send(message))
            return 1;
        currentProgram_ = program;
    }

    if (!sustain && currentProgram_ != -1) {
        if (!port_.send(packMidiMessage(NoteOnChannel1, lastKey_, 0)))
            return 1;
    }

    if (program == -1) {
        port_.reset(); // a failed reset is not reported
        return 0;
    }

    if (keys == nullptr)
        return 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t length = lengths != nullptr ? lengths[i] : 0;
        port_.send(packMidiMessage(NoteOnChannel1, keys[i], velocity, length)); // failures ignored
        lastKey_ = keys[i];
    }
    return 0;
}

} // namespace tessimo
