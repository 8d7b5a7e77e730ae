// Answers as they arrive: pointer events go to the exercise that runs, recognised words to
// Recognize; both reach the judge from there.
#include "game/CBrindelView.h"
#include "geometry/PitchAt.h"
#include "recognition/RecognizerEntryPoints.h"

namespace tessimo {

int CBrindelView::pitchAt(DevicePoint point, bool requireSelected) const {
    return tessimo::pitchAt(point, services_.window.clientSize(), staffLayout_, pitchTable_,
                            requireSelected);
}

void CBrindelView::onLButtonDown(DevicePoint point) {
    if (state_.frozen) {
        return;
    }
    if (ExerciseMode* exercise = running()) {
        exercise->press(point);
    }
}

void CBrindelView::onMouseMove(DevicePoint point, bool leftButtonDown) {
    if (state_.frozen) {
        return;
    }
    if (ExerciseMode* exercise = running()) {
        exercise->move(point, leftButtonDown);
    }
}

void CBrindelView::onMouseWheel(int delta, DevicePoint /*point*/) {
    if (state_.frozen || delta == 0) {
        return;
    }
    if (ExerciseMode* exercise = running()) {
        exercise->wheel(delta);
    }
}

void CBrindelView::onRecognized(int word) {
    if (word < 0 || word >= TemplateSlotCount) {
        return;
    }
    judgeNote(recognize_.pitchOfWord(word),
              settings_.soundMode == Voice ? AnswerInput::Voice : AnswerInput::Instrument);
}

} // namespace tessimo
