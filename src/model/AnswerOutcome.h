// One judged or missed question: a plain value that the exercise engine's judge fills once per
// outcome and hands to its outcome sink (the score, the practice history). No Qt; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tessimo {

// The games whose answers are judged. The numbers are stored in the history file.
enum class Exercise : int {
    NotesDictation = 1,
    IntervalDictation = 2,
    ChordsDictation = 3,
    Recognize = 4,
};

// How the answer came in. The numbers are stored in the history file.
enum class AnswerInput : int {
    Mouse = 1,        // pointed at the staff or the keyboard
    Voice = 2,        // a spoken note name through the recogniser
    Instrument = 3,   // an instrument played into the microphone
    MidiKeyboard = 4, // a key of a connected MIDI instrument
};

// The numbers are stored in the history file.
enum class Outcome : int { Right = 0, Wrong = 1, Missed = 2 };

// Up to ten pitches in the order the game compares them: one for a note, two for an interval,
// up to ten for a chord. Fixed size, so that recording an answer allocates nothing for it.
struct PitchGroup {
    static constexpr int Capacity = 10;
    std::array<std::uint8_t, Capacity> pitches{};
    std::uint8_t count = 0;

    bool empty() const { return count == 0; }
    // Adds a pitch; false (and nothing added) when the group is full.
    bool add(int pitch) {
        if (count >= Capacity) {
            return false;
        }
        pitches[count++] = static_cast<std::uint8_t>(pitch);
        return true;
    }
    static PitchGroup single(int pitch) {
        PitchGroup group;
        group.add(pitch);
        return group;
    }
};

struct AnswerOutcome {
    std::int64_t atMs = 0; // when judged: milliseconds since 1970-01-01 UTC
    std::string user;      // the user name ("" is the default user)
    Exercise exercise = Exercise::NotesDictation;
    AnswerInput input = AnswerInput::Mouse;
    int clef = 0;                // the settings' clef (0 treble, 1 bass)
    PitchGroup expected;         // the question
    PitchGroup given;            // the answer; empty when missed
    bool pitchClassOnly = false; // judged by pitch class only (the octave did not count)
    Outcome outcome = Outcome::Right;
    // Milliseconds from the question's first sound (or its appearance) to the answer; -1 when
    // missed or not known.
    std::int32_t answerMs = -1;
};

} // namespace tessimo
