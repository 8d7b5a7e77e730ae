// The one judge: every answer, whatever its input (mouse, recognised word, MIDI key), is judged
// here against the running exercise's question, and every judged or missed question becomes
// one outcome, which the score counts and the outcome sink receives.
#include "game/CBrindelView.h"
#include "game/OutcomeSink.h"

namespace tessimo {

void CBrindelView::judgeKey(int pitch) {
    ExerciseMode* exercise = running();
    if (exercise != nullptr && exercise->takesGroups()) {
        judgeGroup(PitchGroup::single(pitch), AnswerInput::MidiKeyboard);
    } else {
        judgeNote(pitch, AnswerInput::MidiKeyboard);
    }
}

void CBrindelView::judgeKeys(const PitchGroup& keys) {
    ExerciseMode* exercise = running();
    if (keys.count == 1 && (exercise == nullptr || !exercise->takesGroups())) {
        judgeNote(keys.pitches[0], AnswerInput::MidiKeyboard);
    } else {
        judgeGroup(keys, AnswerInput::MidiKeyboard);
    }
}

void CBrindelView::judgeNote(int pitch, AnswerInput source) {
    ExerciseMode* exercise = running();
    if (state_.frozen || exercise == nullptr) {
        return;
    }
    AnswerOutcome outcome = newOutcome(source);
    if (exercise->answerNote(pitch, source, outcome)) {
        report(outcome);
        repaint();
    }
}

void CBrindelView::judgeGroup(const PitchGroup& given, AnswerInput source) {
    ExerciseMode* exercise = running();
    if (state_.frozen || exercise == nullptr) {
        return;
    }
    AnswerOutcome outcome = newOutcome(source);
    if (exercise->answerGroup(given, source, outcome)) {
        report(outcome);
        repaint();
    }
}

void CBrindelView::reportMissed(const PitchGroup& expected, bool pitchClassOnly) {
    AnswerOutcome outcome = newOutcome(inputOfGame());
    outcome.expected = expected;
    outcome.outcome = Outcome::Missed;
    outcome.pitchClassOnly = pitchClassOnly;
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
