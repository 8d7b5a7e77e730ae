#include "sound/MidiPlayer.h"

namespace tessimo {

namespace {
constexpr std::uint8_t ProgramChangeChannel1 = 0xC0;
constexpr std::uint8_t NoteOnChannel1 = 0x90;
constexpr std::uint8_t HighestKey = 127;
} // namespace

// A note-on of velocity 0 for every held key, lowest first. A key whose release is refused
// stays held, so that the next call tries again.
bool MidiPlayer::releaseHeldKeys() {
    bool all = true;
    for (int key = 0; key <= HighestKey && held_.any(); ++key) {
        if (!held_.test(static_cast<std::size_t>(key)))
            continue;
        if (port_.send(packMidiMessage(NoteOnChannel1, static_cast<std::uint8_t>(key), 0)))
            held_.reset(static_cast<std::size_t>(key));
        else
            all = false;
    }
    return all;
}

bool MidiPlayer::ensureOpen() {
    if (notOpened_) {
        if (!port_.open())
            return false; // stays not opened: the next call tries again
        notOpened_ = false;
    }
    return true;
}

bool MidiPlayer::changeProgram(int program) {
    if (program != currentProgram_ && program != -1) {
        // A program outside 0..127 does not fit a data byte: the port refuses the message.
        const auto message = ProgramChangeChannel1 | static_cast<PackedMidiMessage>(program) << 8;
        if (!port_.send(message))
            return false;
        currentProgram_ = program;
    }
    return true;
}

int MidiPlayer::MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* /*lengths*/,
                         int count, std::uint8_t velocity, bool sustain) {
    if (!ensureOpen() || !changeProgram(program))
        return 1;

    if (!sustain && !releaseHeldKeys())
        return 1;

    if (program == -1) {
        if (port_.reset()) // a failed reset is not reported
            held_.reset();
        return 0;
    }

    if (keys == nullptr)
        return 0;
    for (int i = 0; i < count; ++i) {
        // Held even when the port refused it: releasing a key that never sounded is harmless.
        port_.send(packMidiMessage(NoteOnChannel1, keys[i], velocity)); // failures ignored
        if (keys[i] <= HighestKey)
            held_.set(keys[i]);
    }
    return 0;
}

int MidiPlayer::keyDown(int program, std::uint8_t key, std::uint8_t velocity) {
    if (key > HighestKey || velocity == 0 || program < 0 || !ensureOpen() ||
        !changeProgram(program))
        return 1;
    if (!port_.send(packMidiMessage(NoteOnChannel1, key, velocity)))
        return 1;
    held_.set(key);
    return 0;
}

int MidiPlayer::keyUp(std::uint8_t key) {
    if (key > HighestKey || !held_.test(key))
        return 0; // never sounded, or released already
    if (!port_.send(packMidiMessage(NoteOnChannel1, key, 0)))
        return 1; // stays held: the next release tries again
    held_.reset(key);
    return 0;
}

int MidiPlayer::silenceAll() {
    if (notOpened_) {
        held_.reset(); // nothing was ever sent
        return 0;
    }
    if (!port_.reset()) {
        // The keys stay held; the next MidiPlay without sustain releases them.
        return 1;
    }
    held_.reset();
    return 0;
}

} // namespace tessimo
