#include "game/GroupDictationExercise.h"

#include <cstdlib>

#include "game/GameState.h"
#include "game/GroupRules.h"
#include "game/QuestionGenerator.h"
#include "game/Scrolling.h"
#include "game/UnitClock.h"
#include "model/CNotesList.h"
#include "model/PitchTable.h"

namespace tessimo {

GroupDictationExercise::GroupDictationExercise(const ExerciseContext& context,
                                               const ScrollingContext& scrolling, GroupKind kind)
    : c_(context), s_(scrolling), kind_(kind),
      placement_(context.settings, context.table, scrolling.answerGroup, scrolling.wrongGroup,
                 scrolling.shape, kind, true) {}

void GroupDictationExercise::start(std::uint32_t /*now*/) {
    s_.answerGroup.removeAll();
    s_.wrongGroup.removeAll();
    playback_.cancel();
    timer_.reset();
}

void GroupDictationExercise::tick(std::uint32_t now) {
    const int step = groupScrollStep(c_.settings, s_.answerGroup);
    const PitchGroup leaving = firstQuestionGroup(c_.questions, nullptr);
    bool dropped = false;
    bool droppedAny = scrollList(c_.questions, step, &dropped);
    droppedAny = scrollList(s_.answerGroup, step) || droppedAny;
    droppedAny = scrollList(s_.wrongGroup, step) || droppedAny;
    if (droppedAny) {
        playback_.cancel(); // what it was playing has moved off
    }
    if (dropped) {
        s_.wrongGroup.removeAll();
        s_.host.reportMissed(leaving, false);
    }
    s_.host.repaint();
    if (s_.host.freezeAtLimit()) {
        return;
    }
    if (!c_.questions.empty() && s_.answerGroup.empty()) {
        setUpQuestion();
    }
    if (s_.clock.advance(step)) {
        QuestionGenerator generator(c_.settings, c_.table, c_.random);
        if (kind_ == GroupKind::Interval) {
            generator.newIntervalQuestion(s_.clock, c_.questions);
        } else {
            generator.newChordQuestion(s_.clock, c_.questions);
        }
    }
    timer_.track(c_.questions, step, now);
    if (playback_.pending()) {
        if (playback_.step(now, true, s_.clock.unitMs, c_.sounds) == &c_.questions) {
            timer_.sounded(now);
        }
    } else if (timer_.dueAt(now)) {
        playback_.arm(c_.questions, step);
    }
}

// The first unanswered question becomes the answer group, of random shape (when the wheel may
// change it) at a random height: the answer has to be put right, not merely confirmed. The
// draw depends on the selection only, never on the window.
void GroupDictationExercise::setUpQuestion() {
    s_.wrongGroup.removeAll();
    c_.questions.copyFirstGroupTo(s_.answerGroup);
    if (s_.answerGroup.empty()) {
        return;
    }
    placement_.takeQuestionShape();
    QuestionGenerator generator(c_.settings, c_.table, c_.random);
    const GroupScramble scramble = generator.drawScramble();
    for (int i = 0; i < std::abs(scramble.wheelSteps); ++i) {
        placement_.wheel(scramble.wheelSteps > 0 ? 1 : -1);
    }
    for (int height : scramble.heights) {
        placement_.moveTo(height);
    }
    s_.host.repaint();
}

void GroupDictationExercise::press(DevicePoint /*point*/) {
    s_.host.judgeGroup(pitchesOf(s_.answerGroup), AnswerInput::Mouse);
}

void GroupDictationExercise::move(DevicePoint point, bool /*leftDown*/) {
    if (placement_.moveTo(s_.host.pitchAt(point, placement_.needsSelectedPitch()))) {
        s_.host.repaint();
    }
}

void GroupDictationExercise::wheel(int delta) {
    if (placement_.wheel(delta)) {
        s_.host.repaint();
    }
}

bool GroupDictationExercise::answerGroup(const PitchGroup& given, AnswerInput source,
                                         AnswerOutcome& outcome) {
    if (s_.answerGroup.empty()) {
        return false; // no question shown yet: nothing to judge
    }
    bool block = false;
    const PitchGroup expected = firstQuestionGroup(c_.questions, &block);
    const std::uint32_t now = s_.host.now();
    outcome.expected = expected;
    outcome.given = given;
    outcome.answerMs = timer_.answerMs(c_.questions.firstUnanswered(), now, false);
    if (groupMatches(expected, block, given)) {
        s_.wrongGroup.removeAll();
        s_.answerGroup.removeAll();
        c_.state.wrongMark = -1;
        playback_.cancel();
        c_.questions.markFirstGroupAnswered();
        timer_.holdAfterRightAnswer(now);
        outcome.outcome = Outcome::Right;
    } else {
        showWrongGroup(given);
        if (source == AnswerInput::Mouse) {
            playback_.arm(s_.wrongGroup, 0); // the user hears the wrong answer
        }
        outcome.outcome = Outcome::Wrong;
    }
    return true;
}

// The wrong answer in red where the answer group stands: the answer group itself when it was
// the answer, otherwise its notes carrying the given pitches (extra ones at its last place).
void GroupDictationExercise::showWrongGroup(const PitchGroup& given) {
    s_.answerGroup.copyAllTo(s_.wrongGroup);
    if (pitchesOf(s_.answerGroup).pitches == given.pitches &&
        s_.answerGroup.size() == given.count) {
        return;
    }
    const CNote model = s_.answerGroup.back();
    s_.wrongGroup.removeAll();
    for (int k = 0; k < given.count; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        CNote note = i < s_.answerGroup.size() ? s_.answerGroup[i] : model;
        note.pitch = given.pitches[i];
        note.staffY = c_.table[note.pitch].staffY;
        note.groupIndex = static_cast<std::uint8_t>(k);
        s_.wrongGroup.appendAt(note, note.x);
    }
}

} // namespace tessimo
