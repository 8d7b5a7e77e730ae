// The one judge: every input reaches the same judgement, and every judged or missed question
// becomes exactly one outcome, from which the score is counted.
#include <gtest/gtest.h>

#include <vector>

#include "EngineRig.h"
#include "RecordingSink.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::RecordingSink;
using testing::settingsWith;
using testing::settingsWithRange;

std::vector<int> pitches(const PitchGroup& group) {
    return {group.pitches.begin(), group.pitches.begin() + group.count};
}

// Notes Dictation at speed 3 until the first question has been played.
void startNotesDictation(EngineRig& rig, RecordingSink& sink, const SettingsRecord& s) {
    rig.view.setOutcomeSink(&sink);
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(NotesDictationCommand));
    while (rig.view.questionNotes().empty()) {
        rig.tick();
    }
}

TEST(Judge, MouseAnswersBecomeOutcomesWithTheirTime) {
    EngineRig rig;
    RecordingSink sink;
    startNotesDictation(rig, sink, settingsWith({60, 64, 67}));
    const int expected = rig.view.questionNotes()[0].pitch;
    const std::uint32_t heardAt = rig.clock.now; // played in the tick it entered
    rig.ticks(25);
    const int wrong = expected == 60 ? 64 : 60;
    rig.view.onMouseMove(rig.staffPoint(wrong), false);
    rig.view.onLButtonDown(rig.staffPoint(wrong));
    rig.view.onMouseMove(rig.staffPoint(expected), false);
    rig.view.onLButtonDown(rig.staffPoint(expected));
    ASSERT_EQ(sink.outcomes.size(), 2u);
    const AnswerOutcome& first = sink.outcomes[0];
    EXPECT_EQ(first.exercise, Exercise::NotesDictation);
    EXPECT_EQ(first.input, AnswerInput::Mouse);
    EXPECT_EQ(first.outcome, Outcome::Wrong);
    EXPECT_EQ(pitches(first.expected), std::vector<int>{expected});
    EXPECT_EQ(pitches(first.given), std::vector<int>{wrong});
    EXPECT_EQ(first.answerMs, static_cast<std::int32_t>(rig.clock.now - heardAt));
    EXPECT_EQ(first.answerMs, 1000);
    EXPECT_EQ(sink.outcomes[1].outcome, Outcome::Right);
    EXPECT_EQ(rig.view.state().okCount, 1);
    EXPECT_EQ(rig.view.state().errorCount, 1);
}

TEST(Judge, AMidiKeyIsJudgedLikeAClickButPlaysNothing) {
    EngineRig rig;
    RecordingSink sink;
    startNotesDictation(rig, sink, settingsWith({60, 64, 67}));
    const int expected = rig.view.questionNotes()[0].pitch;
    const std::size_t sounds = rig.midi.notes().size();
    rig.view.judgeKey(expected + 1); // wrong: the user heard the key already
    EXPECT_EQ(rig.midi.notes().size(), sounds);
    EXPECT_EQ(rig.view.state().wrongMark, expected + 1);
    rig.view.judgeKey(expected + 12); // another octave: wrong with the synthesiser
    rig.view.judgeKey(expected);
    ASSERT_EQ(sink.outcomes.size(), 3u);
    for (const AnswerOutcome& o : sink.outcomes) {
        EXPECT_EQ(o.input, AnswerInput::MidiKeyboard);
    }
    EXPECT_EQ(sink.outcomes[1].outcome, Outcome::Wrong);
    EXPECT_EQ(sink.outcomes[2].outcome, Outcome::Right);
    EXPECT_TRUE(rig.view.questionNotes()[0].answered);
    EXPECT_EQ(rig.view.state().wrongMark, -1);
    // Outside a judged game, or once the game is over, a key is no answer.
    rig.view.onCommand(PlayNotesCommand);
    rig.view.judgeKey(60);
    EXPECT_EQ(sink.outcomes.size(), 3u);
}

TEST(Judge, ChordKeysInAnyOrderAnswerABlockChord) {
    EngineRig rig;
    RecordingSink sink;
    rig.view.setOutcomeSink(&sink);
    SettingsRecord s = settingsWithRange(48, 60);
    s.chords.fill(0);
    s.chords[0] = 1; // major
    s.intervalsUp = 0;
    s.intervalsDown = 0;
    s.intervalsTogether = 1; // block chords only
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(ChordsDictationCommand));
    while (rig.view.answerGroup().empty()) {
        rig.tick();
    }
    const int low = rig.view.questionNotes()[0].pitch;
    PitchGroup keys;
    keys.add(low + 7);
    keys.add(low);
    rig.view.judgeKeys(keys); // two of three keys: wrong, shown in red
    EXPECT_EQ(rig.view.wrongGroup().size(), 2u);
    EXPECT_EQ(rig.view.wrongGroup()[0].pitch, low + 7);
    keys.add(low + 4);
    rig.view.judgeKeys(keys);
    ASSERT_EQ(sink.outcomes.size(), 2u);
    EXPECT_EQ(sink.outcomes[0].outcome, Outcome::Wrong);
    EXPECT_EQ(sink.outcomes[1].outcome, Outcome::Right);
    EXPECT_EQ(sink.outcomes[1].exercise, Exercise::ChordsDictation);
    EXPECT_EQ(pitches(sink.outcomes[1].expected), (std::vector<int>{low, low + 4, low + 7}));
    EXPECT_EQ(rig.view.state().okCount, 1);
    EXPECT_TRUE(rig.view.answerGroup().empty());
}

TEST(Judge, RecognisedWordsAreJudgedByName) {
    EngineRig rig;
    RecordingSink sink;
    rig.view.setOutcomeSink(&sink);
    rig.recognizer.templates.fill(1);
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    SettingsRecord s = settingsWith({60, 72, 64});
    s.soundMode = Voice;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(RecognizeCommand));
    while (rig.view.questionNotes().empty()) {
        rig.tick();
    }
    const int expected = rig.view.questionNotes()[0].pitch;
    rig.recognizer.recognise(4);                  // MI: wrong unless the question is 64
    rig.recognizer.recognise(expected % 12 + 12); // the second recording of its name
    rig.view.judgeRecognizedWords();
    ASSERT_EQ(sink.outcomes.size(), 2u);
    EXPECT_EQ(sink.outcomes[0].outcome, expected == 64 ? Outcome::Right : Outcome::Wrong);
    EXPECT_EQ(sink.outcomes[0].input, AnswerInput::Voice);
    EXPECT_TRUE(sink.outcomes[0].pitchClassOnly);
    EXPECT_EQ(sink.outcomes[0].exercise, Exercise::Recognize);
    if (expected != 64) {
        EXPECT_EQ(sink.outcomes[1].outcome, Outcome::Right);
    }
}

// A long game with every kind of answer and many missed questions: one outcome per judged or
// missed question, and the score is exactly their count.
TEST(Judge, TheScoreCountsTheOutcomes) {
    EngineRig rig(9);
    RecordingSink sink;
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 8;
    startNotesDictation(rig, sink, s);
    MersenneRandom r(4);
    for (int i = 0; i < 4000; ++i) {
        rig.tick();
        const CNote* first = rig.view.questionNotes().firstUnanswered();
        if (first == nullptr || r.next() % 40 != 0) {
            continue;
        }
        const int pitch = r.next() % 2 == 0 ? first->pitch : 60 + static_cast<int>(r.next() % 13);
        if (r.next() % 2 == 0) {
            rig.view.judgeKey(pitch);
        } else {
            rig.view.onMouseMove(rig.staffPoint(pitch), false);
            rig.view.onLButtonDown(rig.staffPoint(pitch));
        }
    }
    const GameState& state = rig.view.state();
    EXPECT_GT(state.okCount, 10);
    EXPECT_GT(state.errorCount, 10);
    EXPECT_GT(state.unknownCount, 10);
    EXPECT_EQ(sink.count(Outcome::Right), state.okCount);
    EXPECT_EQ(sink.count(Outcome::Wrong), state.errorCount);
    EXPECT_EQ(sink.count(Outcome::Missed), state.unknownCount);
    for (const AnswerOutcome& o : sink.outcomes) {
        if (o.outcome == Outcome::Missed) {
            EXPECT_EQ(o.expected.count, 1);
            EXPECT_TRUE(o.given.empty());
            EXPECT_EQ(o.answerMs, -1);
        }
    }
}

} // namespace
} // namespace tessimo
