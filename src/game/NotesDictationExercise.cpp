#include "game/NotesDictationExercise.h"

#include <cstdlib>

#include "game/GameState.h"
#include "game/GroupRules.h"
#include "game/Scrolling.h"
#include "game/UnitClock.h"
#include "model/CNotesList.h"
#include "model/Pitch.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"
#include "recognition/WordSlotNumbers.h"

namespace tessimo {

namespace {
bool validPitch(int pitch) {
    return pitch >= 0 && pitch <= 127;
}
} // namespace

bool NotesDictationExercise::byName() const {
    return c_.settings.soundMode == Voice && !byKeys_;
}

void NotesDictationExercise::start(std::uint32_t /*now*/) {
    timer_.reset();
}

void NotesDictationExercise::tick(std::uint32_t now) {
    const int step = noteScrollStep(c_.settings, c_.questions);
    const PitchGroup leaving = firstQuestionGroup(c_.questions, nullptr);
    bool dropped = false;
    scrollList(c_.questions, step, &dropped);
    if (dropped) {
        // The first unanswered note is the one that left.
        s_.host.reportMissed(leaving, byName());
        c_.state.wrongMark = -1;
    }
    s_.host.repaint();
    if (s_.host.freezeAtLimit()) {
        return;
    }
    if (s_.clock.advance(step)) {
        QuestionGenerator generator(c_.settings, c_.table, c_.random, &pitchDraw_);
        generator.newNoteQuestion(variant_ == Variant::Recognize ? GameMode::Recognize
                                                                 : GameMode::NotesDictation,
                                  s_.clock, c_.questions);
    }
    timer_.track(c_.questions, step, now);
    if (variant_ == Variant::Recognize || !timer_.dueAt(now)) {
        return;
    }
    if (const CNote* first = c_.questions.firstUnanswered()) {
        timer_.sounded(now);
        if (c_.settings.soundMode == Synthesizer) {
            c_.sounds.playPitch(first->pitch);
        } else {
            c_.sounds.playWord(first->wordIndex);
        }
    }
}

void NotesDictationExercise::advanceTo(std::uint32_t /*now*/) {
    fixExpectedPitch();
}

// -1 until a note has entered the staff, and the last one's pitch once every note is answered.
void NotesDictationExercise::fixExpectedPitch() {
    if (const CNote* first = c_.questions.firstUnanswered()) {
        c_.state.expectedPitch = first->pitch;
    }
}

void NotesDictationExercise::press(DevicePoint /*point*/) {
    if (variant_ == Variant::Dictation && c_.state.hoverPitch != -1) {
        s_.host.judgeNote(c_.state.hoverPitch, AnswerInput::Mouse);
    }
}

void NotesDictationExercise::move(DevicePoint point, bool /*leftDown*/) {
    if (variant_ != Variant::Dictation) {
        return;
    }
    const int p = s_.host.pitchAt(point, false);
    if (c_.table.isSelected(p) && p != c_.state.hoverPitch) {
        c_.state.hoverPitch = p;
        c_.state.wrongMark = -1;
        s_.host.repaint();
    }
}

bool NotesDictationExercise::answerNote(int pitch, AnswerInput source, AnswerOutcome& outcome) {
    CNote* first = c_.questions.firstUnanswered();
    const int expected = c_.state.expectedPitch;
    const bool named = byName();
    // No question on the staff, or nothing given, can never be a right answer.
    const bool right = first != nullptr && expected != -1 && isInRange(pitch) &&
                       (expected == pitch || (named && pitchClass(expected) == pitchClass(pitch)));
    const std::uint32_t now = s_.host.now();
    if (first != nullptr && expected != -1) {
        outcome.expected.add(expected);
    }
    if (validPitch(pitch)) {
        outcome.given.add(pitch);
    }
    outcome.pitchClassOnly = named;
    // Recognize plays nothing: its answers are timed from when the question was shown.
    outcome.answerMs = timer_.answerMs(first, now, variant_ == Variant::Recognize);
    if (right) {
        first->answered = 1;
        c_.state.wrongMark = -1;
        if (variant_ == Variant::Dictation) {
            timer_.holdAfterRightAnswer(now);
        }
        fixExpectedPitch();
        outcome.outcome = Outcome::Right;
    } else {
        if (source == AnswerInput::Mouse && validPitch(pitch)) {
            c_.sounds.soundPitch(pitch); // the user hears what was chosen
        }
        if (validPitch(pitch)) {
            c_.state.wrongMark = pitch;
        }
        outcome.outcome = Outcome::Wrong;
    }
    return true;
}

int NotesDictationExercise::pitchOfWord(int word) const {
    if (word < 0 || word >= TemplateSlotCount) {
        return -1;
    }
    if (c_.settings.soundMode != Voice) {
        return word;
    }
    int pitch = -1;
    const int expected = c_.state.expectedPitch;
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        if (pitchClass(p) == word % 12 && c_.table.isSelected(p) &&
            (pitch == -1 || std::abs(p - expected) < std::abs(pitch - expected))) {
            pitch = p;
        }
    }
    return pitch;
}

} // namespace tessimo
