// The one judge: every answer, whatever its input (mouse, recognised word, MIDI key), is judged
// here, and every judged or missed question becomes one outcome, which the score counts and
// the outcome sink receives.
#include <cstdlib>

#include "game/CBrindelView.h"
#include "game/GroupRules.h"
#include "game/OutcomeSink.h"
#include "model/Pitch.h"

namespace tessimo {

namespace {
constexpr std::uint32_t RightAnswerHoldMs = 1500; // the next question sounds 500 ms later

bool validPitch(int pitch) {
    return pitch >= 0 && pitch <= 127;
}
} // namespace

bool CBrindelView::judgesNotes() const {
    return state_.gameMode == GameMode::NotesDictation || state_.gameMode == GameMode::Recognize;
}

void CBrindelView::judgeKey(int pitch) {
    if (isDictation()) {
        judgeGroup(PitchGroup::single(pitch), AnswerInput::MidiKeyboard);
    } else {
        judgeNote(pitch, AnswerInput::MidiKeyboard);
    }
}

void CBrindelView::judgeKeys(const PitchGroup& keys) {
    if (keys.count == 1 && !isDictation()) {
        judgeNote(keys.pitches[0], AnswerInput::MidiKeyboard);
    } else {
        judgeGroup(keys, AnswerInput::MidiKeyboard);
    }
}

void CBrindelView::judgeNote(int pitch, AnswerInput source) {
    if (state_.frozen || !judgesNotes()) {
        return;
    }
    CNote* first = questionNotes_.firstUnanswered();
    const int expected = state_.expectedPitch;
    // Words name a pitch class only; keys on the keyboard (Recognize) name the octave too.
    const bool byName = settings_.soundMode == Voice && !recognizeRunsByKeyboard_;
    // No question on the staff, or nothing given, can never be a right answer.
    const bool right = first != nullptr && expected != -1 && isInRange(pitch) &&
                       (expected == pitch || (byName && pitchClass(expected) == pitchClass(pitch)));

    AnswerOutcome outcome = newOutcome(source);
    if (first != nullptr && expected != -1) {
        outcome.expected.add(expected);
    }
    if (validPitch(pitch)) {
        outcome.given.add(pitch);
    }
    outcome.pitchClassOnly = byName;
    outcome.answerMs = answerTime(first);
    if (right) {
        first->answered = 1;
        state_.wrongMark = -1;
        if (state_.gameMode == GameMode::NotesDictation) {
            state_.lastQuestionTick = now() - RightAnswerHoldMs;
            holdAfterRightAnswer_ = true;
        }
        fixExpectedPitch();
        outcome.outcome = Outcome::Right;
    } else {
        if (source == AnswerInput::Mouse && validPitch(pitch)) {
            soundPitch(pitch); // the user hears what was chosen
        }
        if (validPitch(pitch)) {
            state_.wrongMark = pitch;
        }
        outcome.outcome = Outcome::Wrong;
    }
    report(outcome);
    repaint();
}

void CBrindelView::judgeGroup(const PitchGroup& given, AnswerInput source) {
    if (state_.frozen || !isDictation() || answerGroup_.empty()) {
        return; // no question shown yet: nothing to judge
    }
    bool block = false;
    const PitchGroup expected = firstQuestionGroup(questionNotes_, &block);
    AnswerOutcome outcome = newOutcome(source);
    outcome.expected = expected;
    outcome.given = given;
    outcome.answerMs = answerTime(questionNotes_.firstUnanswered());
    if (groupMatches(expected, block, given)) {
        wrongGroup_.removeAll();
        answerGroup_.removeAll();
        state_.wrongMark = -1;
        state_.playPending = false;
        questionNotes_.markFirstGroupAnswered();
        state_.lastQuestionTick = now() - RightAnswerHoldMs;
        holdAfterRightAnswer_ = true;
        outcome.outcome = Outcome::Right;
    } else {
        showWrongGroup(given);
        if (source == AnswerInput::Mouse) {
            armPlayback(wrongGroup_, 0); // the user hears the wrong answer
        }
        outcome.outcome = Outcome::Wrong;
    }
    report(outcome);
    repaint();
}

// The wrong answer in red where the answer group stands: the answer group itself when it was
// the answer, otherwise its notes carrying the given pitches (extra ones at its last place).
void CBrindelView::showWrongGroup(const PitchGroup& given) {
    answerGroup_.copyAllTo(wrongGroup_);
    if (pitchesOf(answerGroup_).pitches == given.pitches && answerGroup_.size() == given.count) {
        return;
    }
    const CNote model = answerGroup_.back();
    wrongGroup_.removeAll();
    for (int k = 0; k < given.count; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        CNote note = i < answerGroup_.size() ? answerGroup_[i] : model;
        note.pitch = given.pitches[i];
        note.staffY = pitchTable_[note.pitch].staffY;
        note.groupIndex = static_cast<std::uint8_t>(k);
        wrongGroup_.appendAt(note, note.x);
    }
}

void CBrindelView::reportMissed(const PitchGroup& expected) {
    AnswerOutcome outcome = newOutcome(AnswerInput::Mouse);
    outcome.input = inputOfGame();
    outcome.expected = expected;
    outcome.outcome = Outcome::Missed;
    outcome.pitchClassOnly =
        judgesNotes() && settings_.soundMode == Voice && !recognizeRunsByKeyboard_;
    report(outcome);
}

AnswerInput CBrindelView::inputOfGame() const {
    if (state_.gameMode != GameMode::Recognize) {
        return AnswerInput::Mouse;
    }
    if (recognizeRunsByKeyboard_) {
        return AnswerInput::MidiKeyboard;
    }
    return settings_.soundMode == Voice ? AnswerInput::Voice : AnswerInput::Instrument;
}

AnswerOutcome CBrindelView::newOutcome(AnswerInput source) const {
    AnswerOutcome outcome;
    outcome.user = userName_;
    outcome.input = source;
    outcome.clef = settings_.clef;
    switch (state_.gameMode) {
    case GameMode::IntervalDictation:
        outcome.exercise = Exercise::IntervalDictation;
        break;
    case GameMode::ChordsDictation:
        outcome.exercise = Exercise::ChordsDictation;
        break;
    case GameMode::Recognize:
        outcome.exercise = Exercise::Recognize;
        break;
    default:
        outcome.exercise = Exercise::NotesDictation;
        break;
    }
    return outcome;
}

// Milliseconds since the question was first heard (Recognize plays nothing: since it became
// the first unanswered one); -1 when the question has not been heard yet.
std::int32_t CBrindelView::answerTime(const CNote* first) const {
    if (first == nullptr || first != firstQuestion_ || first->x != firstQuestionX_) {
        return -1; // it became the question after the last tick
    }
    const bool heard = state_.gameMode == GameMode::Recognize || questionSounded_;
    const std::uint32_t since =
        state_.gameMode == GameMode::Recognize ? questionShownAt_ : questionSoundedAt_;
    return heard ? static_cast<std::int32_t>(now() - since) : -1;
}

void CBrindelView::report(const AnswerOutcome& outcome) {
    switch (outcome.outcome) {
    case Outcome::Right:
        ++state_.okCount;
        break;
    case Outcome::Wrong:
        ++state_.errorCount;
        break;
    case Outcome::Missed:
        ++state_.unknownCount;
        break;
    }
    if (outcomeSink_ != nullptr) {
        outcomeSink_->onOutcome(outcome);
    }
}

} // namespace tessimo
