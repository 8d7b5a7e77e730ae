// A MIDI port that records what it is asked to do and can be told to fail.
#pragma once

#include "sound/MidiPort.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace tessimo::test {

class RecordingMidiPort final : public MidiPort {
public:
    int opensToFail = 0; // the next this many open() calls fail
    std::function<bool(PackedMidiMessage)> sendFails = [](PackedMidiMessage) { return false; };
    bool resetFails = false;

    // One entry per call: "open", "open failed", "reset", or the message as 8 hex digits.
    std::vector<std::string> calls;

    bool open() override {
        if (opensToFail > 0) {
            --opensToFail;
            calls.push_back("open failed");
            return false;
        }
        calls.push_back("open");
        return true;
    }

    bool send(PackedMidiMessage message) override {
        char text[16];
        std::snprintf(text, sizeof text, "%08X", message);
        calls.push_back(text);
        return !sendFails(message);
    }

    bool reset() override {
        calls.push_back("reset");
        return !resetFails;
    }
};

} // namespace tessimo::test
