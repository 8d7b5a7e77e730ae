// Play intervals and Play chords: a random interval or chord of the selection stands at the
// middle of the staff; the mouse moves it, the wheel reshapes it, and a click plays it, note
// by note when its notes stand apart. User-interface thread only.
#pragma once

#include "game/ExerciseMode.h"
#include "game/GroupPlacement.h"
#include "game/GroupPlayback.h"

namespace tessimo {

class PlayGroupExercise : public ExerciseMode {
public:
    PlayGroupExercise(const ExerciseContext& context, const ScrollingContext& scrolling,
                      GroupKind kind);

    void start(std::uint32_t now) override;
    // Draws a new group when there is none, and plays on what a click started.
    void tick(std::uint32_t now) override;
    void press(DevicePoint point) override;
    void move(DevicePoint point, bool leftDown) override;
    void wheel(int delta) override;

private:
    ExerciseContext c_;
    ScrollingContext s_;
    GroupKind kind_;
    GroupPlacement placement_;
    GroupPlayback playback_;
};

} // namespace tessimo
