// Turns key presses into answers. For single-note questions every press is an answer of one
// key. For intervals and chords the keys pressed together form one answer: a group opens with
// a press while no key is held, takes every further press within GroupWindowMs of that first
// press, and is complete when the window closes; presses after that count only once every key
// is up again, so a chord held down gives one answer, not one per late key. Octaves are kept:
// an answer is the exact MIDI key numbers, in the order they were pressed. Pure logic on the
// times it is given (a fake clock in tests); no Qt, no threads: user-interface thread.
#pragma once

#include "midi/MidiEvent.h"

#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessimo {

// Keys pressed within this time of the first form one chord. Players strike a chord within
// about 30 ms; 70 ms tolerates a rolled chord by a beginner, yet stays under the 100 ms at
// which two deliberate presses feel separate, and under two 40 ms game ticks of delay.
inline constexpr std::int64_t GroupWindowMs = 70;

enum class AnswerShape { SingleKey, KeyGroup };

struct KeyAnswer {
    std::vector<std::uint8_t> keys; // MIDI key numbers in press order, no repeats
    std::int64_t firstPressMs = 0;  // time of the first press of the answer

    bool operator==(const KeyAnswer&) const = default;
};

class KeyGrouper {
public:
    explicit KeyGrouper(AnswerShape shape = AnswerShape::SingleKey) : shape_(shape) {}

    // Changes the shape and forgets every held key and open group (a new game starts).
    void reset(AnswerShape shape);

    // Forgets held keys and the open group, keeping the shape: for a source that vanished
    // with keys down, whose releases never come.
    void releaseAll();

    // Feeds one key event at timeMs (the time it was received, on the clock that poll is
    // given). Returns an answer when this event completes one: every press for SingleKey; for
    // KeyGroup, a press after the window of an open group completes that group (the press is
    // then taken as a held key, not a new answer).
    std::optional<KeyAnswer> feed(const MidiKeyEvent& event, std::int64_t timeMs);

    // Completes the open group once its window has passed by nowMs. Call on every tick.
    std::optional<KeyAnswer> poll(std::int64_t nowMs);

    // True while a group is collecting keys.
    bool collecting() const { return open_; }

    // Number of keys held down now.
    std::size_t heldCount() const { return held_.count(); }

private:
    std::optional<KeyAnswer> closeGroup();

    AnswerShape shape_;
    std::bitset<128> held_;
    bool open_ = false;      // a group is collecting presses
    bool waitForUp_ = false; // a group was answered; presses wait until all keys are up
    KeyAnswer group_;
};

} // namespace tessimo
