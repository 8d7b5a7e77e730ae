// Listen notes: a random melody in the chosen metre and note values scrolls past the play line
// and sounds note by note, each note when its time comes. Takes no answers.
// User-interface thread only.
#pragma once

#include "game/ExerciseMode.h"
#include "game/UnitClock.h"
#include "model/CNote.h"

namespace tessimo {

class ListenNotesExercise : public ExerciseMode {
public:
    ListenNotesExercise(const ExerciseContext& context, UnitClock& clock)
        : c_(context), clock_(clock) {}

    void start(std::uint32_t now) override;
    // Scrolls by 6 x plus the correction, then fills the staff up to x 1880 with new notes
    // timed one after the other.
    void tick(std::uint32_t now) override;
    // Sounds every note whose time window holds now and that has not sounded yet; the
    // sounding note pulls the scrolling toward the play line.
    void advanceTo(std::uint32_t now) override;

    // Whether a note sounds at now (startTime <= now < endTime), across the clock's wrap.
    static bool isSounding(const CNote& note, std::uint32_t now);

private:
    ExerciseContext c_;
    UnitClock& clock_;
    int scrollCorrection_ = 0; // extra x per tick
    bool hasLastSpawned_ = false;
    std::int32_t lastSpawnedEndTime_ = 0;
};

} // namespace tessimo
