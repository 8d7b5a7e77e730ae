// Notes Dictation and Recognize: single notes scroll in from the right; the first unanswered
// one is the question. In Notes Dictation it is played (as soon as it is the question, then
// every 2 s) and answered by clicking its pitch; in Recognize it is only shown and answered by
// a word, an instrument's note or a MIDI key. A note that leaves the staff unanswered counts
// as unknown. User-interface thread only.
#pragma once

#include "game/ExerciseMode.h"
#include "game/QuestionGenerator.h"
#include "game/QuestionTimer.h"

namespace tessimo {

class NotesDictationExercise : public ExerciseMode {
public:
    enum class Variant { Dictation, Recognize };

    NotesDictationExercise(const ExerciseContext& context, const ScrollingContext& scrolling,
                           const PitchDraw& pitchDraw, Variant variant)
        : c_(context), s_(scrolling), pitchDraw_(pitchDraw), variant_(variant) {}

    // Whether the answers are keys, which name the octave too, rather than words, which name
    // only a pitch class in the Voice mode. Set before start.
    void setAnsweredByKeys(bool keys) { byKeys_ = keys; }

    void start(std::uint32_t now) override;
    void tick(std::uint32_t now) override;
    // The first unanswered note is the one to answer.
    void advanceTo(std::uint32_t now) override;
    // Notes Dictation: a click answers with the hovered pitch; moving chooses it.
    void press(DevicePoint point) override;
    void move(DevicePoint point, bool leftDown) override;

    bool answerNote(int pitch, AnswerInput source, AnswerOutcome& outcome) override;

    // A word recognised for the slot, as a pitch: with Instrument the slot is the pitch; with
    // Voice it names a pitch class and stands for the selected pitch of that class nearest to
    // the expected one (the lower on a tie). -1 for none.
    int pitchOfWord(int slot) const;

private:
    bool byName() const;
    void fixExpectedPitch();

    ExerciseContext c_;
    ScrollingContext s_;
    const PitchDraw& pitchDraw_;
    Variant variant_;
    bool byKeys_ = false;
    QuestionTimer timer_;
};

} // namespace tessimo
