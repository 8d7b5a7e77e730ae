#include "game/QuestionTimer.h"

#include "model/CNotesList.h"

namespace tessimo {

void QuestionTimer::reset() {
    first_ = nullptr;
    firstX_ = 0;
    hold_ = false;
    sounded_ = false;
}

void QuestionTimer::track(const CNotesList& questions, int step, std::uint32_t now) {
    const CNote* first = questions.firstUnanswered();
    const bool same = first != nullptr && first == first_ && first->x == firstX_ - step;
    first_ = first;
    firstX_ = first != nullptr ? first->x : 0;
    if (first == nullptr || same) {
        return;
    }
    shownAt_ = now;
    sounded_ = false;
    if (!hold_) {
        lastPlayed_ = now - ReplayMs;
    }
}

bool QuestionTimer::dueAt(std::uint32_t now) {
    if (now - lastPlayed_ < ReplayMs) {
        return false;
    }
    lastPlayed_ = now;
    hold_ = false;
    return true;
}

void QuestionTimer::sounded(std::uint32_t now) {
    if (!sounded_) {
        sounded_ = true;
        soundedAt_ = now;
    }
}

void QuestionTimer::holdAfterRightAnswer(std::uint32_t now) {
    lastPlayed_ = now - RightAnswerHoldMs;
    hold_ = true;
}

std::int32_t QuestionTimer::answerMs(const CNote* first, std::uint32_t now, bool fromShown) const {
    if (first == nullptr || first != first_ || first->x != firstX_) {
        return -1; // it became the question after the last tick
    }
    if (fromShown) {
        return static_cast<std::int32_t>(now - shownAt_);
    }
    return sounded_ ? static_cast<std::int32_t>(now - soundedAt_) : -1;
}

} // namespace tessimo
