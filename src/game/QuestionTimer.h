// When the question to answer changed, when it was first heard, and when it is played again:
// a question sounds as soon as it becomes the first unanswered one (it entered the staff, or
// the one before it left) and then every 2000 ms; after a right answer the next one waits
// 500 ms. Also the time from a question's first sound to its answer. User-interface thread
// only.
#pragma once

#include <cstdint>

namespace tessimo {

class CNote;
class CNotesList;

class QuestionTimer {
public:
    static constexpr std::uint32_t ReplayMs = 2000;
    static constexpr std::uint32_t RightAnswerHoldMs = 1500; // the next one sounds 500 ms later

    void reset();
    // After a tick moved the questions by step: notes whether the first unanswered question is
    // a new one (recognised by its note, moved by this step; a note made at the freed place of
    // a dropped one is new) and makes a new one due at once, unless a right answer holds it.
    void track(const CNotesList& questions, int step, std::uint32_t now);
    // Whether the question is due to be played at now; when it is, the next playing is
    // ReplayMs later.
    bool dueAt(std::uint32_t now);
    // The question sounded at now (only its first sound counts).
    void sounded(std::uint32_t now);
    // A right answer: the next question sounds after the pause.
    void holdAfterRightAnswer(std::uint32_t now);
    // Milliseconds from the question's first sound to now (fromShown: from the moment it
    // became the question, for a game that plays nothing); -1 when first is not the question
    // of the last tick or was not heard yet.
    std::int32_t answerMs(const CNote* first, std::uint32_t now, bool fromShown) const;

private:
    const CNote* first_ = nullptr;
    int firstX_ = 0;
    bool hold_ = false;
    std::uint32_t lastPlayed_ = 0;
    std::uint32_t shownAt_ = 0;
    std::uint32_t soundedAt_ = 0;
    bool sounded_ = false;
};

} // namespace tessimo
