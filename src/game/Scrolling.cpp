#include "game/Scrolling.h"

#include "model/CNotesList.h"
#include "model/SettingsRecord.h"

namespace tessimo {

namespace {
constexpr int WaitX = 1600;     // with speed 0 the first question waits here
constexpr int CatchUpStep = 20; // x per tick while catching up with speed 0

int stepOfSpeed(const SettingsRecord& settings) {
    return 2 * settings.speed + 2;
}
} // namespace

int noteScrollStep(const SettingsRecord& settings, const CNotesList& questions) {
    if (settings.speed != 0) {
        return stepOfSpeed(settings);
    }
    const CNote* first = questions.firstUnanswered();
    if (first == nullptr) {
        return 2;
    }
    return first->x <= WaitX ? 0 : CatchUpStep;
}

int groupScrollStep(const SettingsRecord& settings, const CNotesList& answerGroup) {
    if (settings.speed != 0) {
        return stepOfSpeed(settings);
    }
    if (answerGroup.empty()) {
        return CatchUpStep;
    }
    for (const CNote& note : answerGroup) {
        if (note.x > WaitX) {
            return CatchUpStep;
        }
    }
    return 0;
}

bool scrollList(CNotesList& list, int step, bool* droppedUnanswered) {
    bool droppedAny = false;
    const bool unanswered = list.advance(step, LeftBound, &droppedAny);
    if (droppedUnanswered != nullptr) {
        *droppedUnanswered = unanswered;
    }
    return droppedAny;
}

} // namespace tessimo
