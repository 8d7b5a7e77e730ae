// Play notes: a click or a drag on the staff or the keyboard plays the note there (its
// recorded word in the Voice and Instrument modes) and highlights it. No timer, no answers.
// User-interface thread only.
#pragma once

#include "game/ExerciseMode.h"

namespace tessimo {

class PlayNotesExercise : public ExerciseMode {
public:
    PlayNotesExercise(const ExerciseContext& context, ExerciseHost& host)
        : c_(context), host_(host) {}

    void start(std::uint32_t now) override;
    void tick(std::uint32_t /*now*/) override {}
    void press(DevicePoint point) override;
    // Dragging across the staff or the keyboard plays each new note once.
    void move(DevicePoint point, bool leftDown) override;

private:
    ExerciseContext c_;
    ExerciseHost& host_;
};

} // namespace tessimo
