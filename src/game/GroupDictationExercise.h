// Interval Dictation and Chords Dictation: intervals or chords scroll in from the right and
// are played; the first unanswered one is copied into the answer group, scrambled, and the
// user puts it right with the mouse and the wheel and clicks to answer. A question that
// leaves the staff unanswered counts as unknown. User-interface thread only.
#pragma once

#include "game/ExerciseMode.h"
#include "game/GroupPlacement.h"
#include "game/GroupPlayback.h"
#include "game/QuestionTimer.h"

namespace tessimo {

class GroupDictationExercise : public ExerciseMode {
public:
    GroupDictationExercise(const ExerciseContext& context, const ScrollingContext& scrolling,
                           GroupKind kind);

    void start(std::uint32_t now) override;
    void tick(std::uint32_t now) override;
    // A click answers with the answer group as it stands.
    void press(DevicePoint point) override;
    void move(DevicePoint point, bool leftDown) override;
    void wheel(int delta) override;

    bool takesGroups() const override { return true; }
    // Judges given against the first unanswered group once a question is shown: right, the
    // group is answered and the next one follows after the pause; wrong, the given pitches
    // are shown in red where the answer group stands (and played, when clicked).
    bool answerGroup(const PitchGroup& given, AnswerInput source, AnswerOutcome& outcome) override;

private:
    void setUpQuestion();
    void showWrongGroup(const PitchGroup& given);

    ExerciseContext c_;
    ScrollingContext s_;
    GroupKind kind_;
    GroupPlacement placement_;
    GroupPlayback playback_;
    QuestionTimer timer_;
};

} // namespace tessimo
