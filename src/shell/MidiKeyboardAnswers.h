// Brings the keys of MIDI keyboards to the exercise engine: in Play notes, intervals and chords
// they are played; in Notes Dictation and Recognize every press is an answer; in Interval and
// Chords Dictation the keys struck together (within GroupWindowMs) are one answer. The engine
// judges every answer as it judges a click. User-interface thread only.
#pragma once

#include "midi/KeyGrouper.h"
#include "midi/MidiEvent.h"

#include <cstdint>
#include <span>

namespace tessimo {

class CBrindelView;
enum class GameMode : std::int32_t;

class MidiKeyboardAnswers {
public:
    // The engine outlives this object.
    explicit MidiKeyboardAnswers(CBrindelView& engine) : engine_(engine) {}

    // Hands the events received since the last call (oldest first) to the engine, then
    // completes a chord whose window has passed by nowMs (on the events' clock, in
    // milliseconds). Returns the number of answers given to the judge.
    int deliver(std::span<const MidiKeyEvent> events, std::int64_t nowMs);

    // A keyboard went away with keys held: their releases never come.
    void forgetHeldKeys() { grouper_.releaseAll(); }

private:
    void followMode();
    int judge(const KeyAnswer& answer);

    CBrindelView& engine_;
    KeyGrouper grouper_;
    GameMode mode_{};
    bool modeSeen_ = false;
};

} // namespace tessimo
