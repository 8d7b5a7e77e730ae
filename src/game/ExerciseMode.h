// One exercise's own state and rules behind a small interface: the view owns the exercises,
// keeps what they share (settings, PitchTable, lists, score) and routes commands, ticks and
// input to the one that runs. User-interface thread only.
#pragma once

#include <cstdint>

namespace tessimo {

class CNotesList;
class PitchTable;
class RandomSource;
struct GameState;
struct SettingsRecord;

// The sounds an exercise may make, with the settings' instrument, velocity and sustain.
class ExerciseSounds {
public:
    virtual ~ExerciseSounds() = default;
    virtual void playPitch(int pitch) = 0;
    virtual void playWord(int slot) = 0;
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

class ExerciseMode {
public:
    virtual ~ExerciseMode() = default;
    // The exercise's command starts it at now, after the view reset the shared state.
    virtual void start(std::uint32_t now) = 0;
    // One timer tick at now: scrolls, creates questions.
    virtual void tick(std::uint32_t now) = 0;
    // The end of every tick: sounds what is due at now and fixes what is expected.
    virtual void advanceTo(std::uint32_t now) = 0;
    // A pointer event on a pitch (-1 for none); false when the exercise takes no pointer.
    virtual bool pointer(int pitch, bool pressed) {
        (void)pitch;
        (void)pressed;
        return false;
    }
};

} // namespace tessimo
