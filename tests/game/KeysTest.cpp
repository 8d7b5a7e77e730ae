// A MIDI keyboard in the engine: keys played sound as played in the Play exercises, and a
// Recognize game can be answered on the keyboard in any sound mode, without the microphone.
#include <gtest/gtest.h>

#include <vector>

#include "EngineRig.h"
#include "RecordingSink.h"
#include "model/Pitch.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::RecordingSink;
using testing::settingsWith;

bool sameKeys(const std::vector<testing::RecordingMidi::Key>& got,
              const std::vector<testing::RecordingMidi::Key>& want) {
    if (got.size() != want.size()) {
        return false;
    }
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i].program != want[i].program || got[i].key != want[i].key ||
            got[i].velocity != want[i].velocity) {
            return false;
        }
    }
    return true;
}

TEST(Keys, PlayedKeysSoundAsPlayedAndShowInThePlayExercisesOnly) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 64, 67});
    s.instrument = 19;
    rig.prepare(s);
    ASSERT_EQ(rig.view.gameMode(), GameMode::PlayNotes);
    rig.view.keyPressed(62, 37); // not selected: still sounds and shows, as on the keyboard
    rig.view.keyPressed(67, 120);
    EXPECT_EQ(rig.view.state().highlightPitch, 67);
    rig.view.keyReleased(62);
    rig.view.keyPressed(24, 90); // below the four octaves: heard, not shown
    EXPECT_EQ(rig.view.state().highlightPitch, 67);
    rig.view.keyPressed(60, 0);   // no velocity: no press
    rig.view.keyPressed(128, 90); // no such key
    EXPECT_TRUE(sameKeys(rig.midi.keys, {{19, 62, 37}, {19, 67, 120}, {-1, 62, 0}, {19, 24, 90}}));
    EXPECT_TRUE(rig.midi.notes().empty()); // nothing through the exercises' own notes

    // Another exercise silences what is held; in a game the keys are answers, not sounds.
    const int silences = rig.midi.silences;
    ASSERT_TRUE(rig.view.onCommand(NotesDictationCommand));
    EXPECT_GT(rig.midi.silences, silences);
    rig.midi.keys.clear();
    rig.view.keyPressed(60, 90);
    rig.view.keyReleased(60);
    EXPECT_TRUE(rig.midi.keys.empty());

    ASSERT_TRUE(rig.view.onCommand(PlayChordsCommand));
    EXPECT_EQ(rig.view.state().highlightPitch, NoPitch); // nothing left from Play notes
    rig.view.keyPressed(64, 80);
    EXPECT_EQ(rig.view.state().highlightPitch, 64);
    EXPECT_TRUE(sameKeys(rig.midi.keys, {{19, 64, 80}}));
}

TEST(Keys, RecognizeOnTheKeyboardNeedsNoRecordingsOrMicrophoneAndJudgesTheOctave) {
    EngineRig rig;
    RecordingSink sink;
    rig.view.setOutcomeSink(&sink);
    SettingsRecord s = settingsWith({60, 62});
    s.soundMode = Voice; // no recordings at all
    s.speed = 10;
    rig.prepare(s);
    EXPECT_FALSE(rig.view.isCommandEnabled(RecognizeCommand));
    rig.view.setRecognizeByKeyboard(true);
    EXPECT_TRUE(rig.view.isCommandEnabled(RecognizeCommand));
    s.soundMode = Synthesizer;
    rig.prepare(s);
    EXPECT_TRUE(rig.view.isCommandEnabled(RecognizeCommand));
    s.soundMode = Voice;
    rig.prepare(s);

    rig.recognizer.calls.clear();
    ASSERT_TRUE(rig.view.onCommand(RecognizeCommand));
    ASSERT_EQ(rig.view.gameMode(), GameMode::Recognize);
    for (const auto& call : rig.recognizer.calls) {
        EXPECT_NE(call.name, "StartRecognition");
    }
    while (rig.view.state().expectedPitch == -1) {
        rig.tick();
    }
    const int expected = rig.view.state().expectedPitch;
    rig.view.judgeKey(expected + 12); // the name is right, the octave is not
    rig.view.judgeKey(expected);
    ASSERT_GE(sink.outcomes.size(), 2u);
    EXPECT_EQ(sink.outcomes[0].outcome, Outcome::Wrong);
    EXPECT_EQ(sink.outcomes[1].outcome, Outcome::Right);
    for (const AnswerOutcome& o : sink.outcomes) {
        EXPECT_EQ(o.input, AnswerInput::MidiKeyboard);
        EXPECT_EQ(o.exercise, Exercise::Recognize);
        EXPECT_FALSE(o.pitchClassOnly);
    }
    // Questions left unanswered are missed on the keyboard too.
    sink.outcomes.clear();
    for (int i = 0; i < 2000 && sink.outcomes.empty(); ++i) {
        rig.tick();
    }
    ASSERT_FALSE(sink.outcomes.empty());
    EXPECT_EQ(sink.outcomes[0].outcome, Outcome::Missed);
    EXPECT_EQ(sink.outcomes[0].input, AnswerInput::MidiKeyboard);

    // Back to the microphone: the next game listens again.
    rig.view.setRecognizeByKeyboard(false);
    EXPECT_FALSE(rig.view.isCommandEnabled(RecognizeCommand));
}

} // namespace
} // namespace tessimo
