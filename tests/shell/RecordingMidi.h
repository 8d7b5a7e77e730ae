// A MIDI output for tests: keeps the pitches of every note-on it is asked to play.
#pragma once

#include "sound/MidiOutput.h"

#include <vector>

namespace tessimo {

class RecordingMidi : public MidiOutput {
public:
    explicit RecordingMidi(std::vector<int>& played) : m_played(played) {}

    int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t*, int count,
                 std::uint8_t, bool) override {
        if (program >= 0) {
            for (int i = 0; i < count; ++i) {
                m_played.push_back(keys[i]);
            }
        }
        return 0;
    }

    int keyDown(int, std::uint8_t key, std::uint8_t) override {
        m_played.push_back(key);
        ++heldKeys;
        return 0;
    }

    int keyUp(std::uint8_t) override {
        --heldKeys;
        return 0;
    }

    int silenceAll() override {
        ++silences;
        return 0;
    }

    int silences = 0;
    int heldKeys = 0; // keyDown calls not yet followed by keyUp

private:
    std::vector<int>& m_played;
};

} // namespace tessimo
