#include "game/PlayGroupExercise.h"

#include "game/QuestionGenerator.h"
#include "game/UnitClock.h"
#include "model/CNotesList.h"

namespace tessimo {

PlayGroupExercise::PlayGroupExercise(const ExerciseContext& context,
                                     const ScrollingContext& scrolling, GroupKind kind)
    : c_(context), s_(scrolling), kind_(kind),
      placement_(context.settings, context.table, scrolling.answerGroup, scrolling.wrongGroup,
                 scrolling.shape, kind, false) {}

void PlayGroupExercise::start(std::uint32_t /*now*/) {
    s_.answerGroup.removeAll();
    s_.wrongGroup.removeAll();
    playback_.cancel();
}

void PlayGroupExercise::tick(std::uint32_t now) {
    if (s_.answerGroup.empty()) {
        QuestionGenerator generator(c_.settings, c_.table, c_.random);
        if (kind_ == GroupKind::Interval) {
            generator.newPlayInterval(s_.clock, s_.shape, s_.answerGroup);
        } else {
            generator.newPlayChord(s_.shape, s_.answerGroup);
        }
        s_.host.repaint();
    }
    playback_.step(now, false, s_.clock.unitMs, c_.sounds);
}

void PlayGroupExercise::press(DevicePoint /*point*/) {
    playback_.arm(s_.answerGroup, 0);
}

void PlayGroupExercise::move(DevicePoint point, bool /*leftDown*/) {
    if (placement_.moveTo(s_.host.pitchAt(point, placement_.needsSelectedPitch()))) {
        s_.host.repaint();
    }
}

void PlayGroupExercise::wheel(int delta) {
    if (placement_.wheel(delta)) {
        s_.host.repaint();
    }
}

} // namespace tessimo
