// One exercise's own state and rules behind a small interface: the view owns the exercises,
// keeps what they share (settings, PitchTable, the three note lists, the score) and routes
// commands, ticks, pointer events and answers to the one that runs. Every answer reaches an
// exercise through the view's one judge. User-interface thread only.
#pragma once

#include <cstdint>

#include "geometry/LogicalSpace.h"
#include "model/AnswerOutcome.h"

namespace tessimo {

class CNotesList;
class PitchTable;
class RandomSource;
struct GameState;
struct GroupShape;
struct SettingsRecord;
struct UnitClock;

// The sounds an exercise may make, with the settings' instrument, velocity and sustain.
class ExerciseSounds {
public:
    virtual ~ExerciseSounds() = default;
    virtual void playPitch(int pitch) = 0;
    // Notes together, each with its length in milliseconds.
    virtual void playPitches(const std::uint8_t* pitches, const std::uint8_t* lengths,
                             int count) = 0;
    virtual void playWord(int slot) = 0;
    // A pitch by the sound mode: its recorded word, or the synthesiser.
    virtual void soundPitch(int pitch) = 0;
};

// What the view does for an exercise beside sounding.
class ExerciseHost {
public:
    virtual ~ExerciseHost() = default;
    virtual std::uint32_t now() const = 0;
    virtual void repaint() = 0;
    // The pitch at a device point of the window (NoPitch for none), optionally only a
    // selected one.
    virtual int pitchAt(DevicePoint point, bool requireSelected) const = 0;
    // The one judge, for answers given by pointing.
    virtual void judgeNote(int pitch, AnswerInput source) = 0;
    virtual void judgeGroup(const PitchGroup& given, AnswerInput source) = 0;
    // A question left the staff unanswered.
    virtual void reportMissed(const PitchGroup& expected, bool pitchClassOnly) = 0;
    // Whether a game limit is reached; if so the view freezes the game (the exercise stops
    // its tick at once).
    virtual bool freezeAtLimit() = 0;
};

// What the view lends an exercise: the shared objects it reads and the lists it moves.
struct ExerciseContext {
    const SettingsRecord& settings;
    const PitchTable& table;
    CNotesList& questions;
    GameState& state;
    ExerciseSounds& sounds;
    RandomSource& random;
};

// The scrolling exercises' part beside the context.
struct ScrollingContext {
    CNotesList& answerGroup;
    CNotesList& wrongGroup;
    UnitClock& clock;
    GroupShape& shape;
    ExerciseHost& host;
};

class ExerciseMode {
public:
    virtual ~ExerciseMode() = default;
    // The exercise's command starts it at now, after the view reset the shared state.
    virtual void start(std::uint32_t now) = 0;
    // One timer tick at now: scrolls, creates questions.
    virtual void tick(std::uint32_t now) = 0;
    // The end of every tick: sounds what is due at now and fixes what is expected.
    virtual void advanceTo(std::uint32_t now) { (void)now; }

    // Pointer events: the left button pressed at a point, the mouse moved (leftDown: with the
    // button held), one wheel step up (delta > 0) or down.
    virtual void press(DevicePoint point) { (void)point; }
    virtual void move(DevicePoint point, bool leftDown) {
        (void)point;
        (void)leftDown;
    }
    virtual void wheel(int delta) { (void)delta; }

    // Whether answers are groups (intervals and chords) rather than single notes.
    virtual bool takesGroups() const { return false; }
    // Judges an answer against the question to answer, filling outcome's expected, given,
    // outcome and answer time; false when this exercise has no question to judge it against
    // (nothing is reported then).
    virtual bool answerNote(int pitch, AnswerInput source, AnswerOutcome& outcome) {
        (void)pitch;
        (void)source;
        (void)outcome;
        return false;
    }
    virtual bool answerGroup(const PitchGroup& given, AnswerInput source, AnswerOutcome& outcome) {
        (void)given;
        (void)source;
        (void)outcome;
        return false;
    }
};

} // namespace tessimo
