#include <gtest/gtest.h>

#include "EngineRig.h"
#include "game/GroupRules.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::settingsWith;
using testing::settingsWithRange;

// Notes Dictation with one question note of a known pitch, seen by the paint.
void startWithQuestion(EngineRig& rig, const SettingsRecord& s, int pitchIndex) {
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    rig.random.script = {static_cast<std::uint32_t>(pitchIndex)};
    rig.ticks(3); // the first note enters at the third tick (speed 3)
    ASSERT_EQ(rig.view.questionNotes().size(), 1u);
}

TEST(NotesDictation, VoiceAcceptsAnyOctaveOfTheName) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 72});
    s.soundMode = Voice;
    rig.recognizer.templates[0] = 1;
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    startWithQuestion(rig, s, 0);
    EXPECT_EQ(rig.view.state().expectedPitch, 60);
    rig.view.onMouseMove(rig.staffPoint(72), false);
    EXPECT_EQ(rig.view.state().hoverPitch, 72);
    rig.view.onLButtonDown(rig.staffPoint(72));
    EXPECT_EQ(rig.view.state().okCount, 1);
    EXPECT_EQ(rig.view.questionNotes()[0].answered, 1);
    // The next question's pause after a right answer: GameLoopTest, the 500 ms case.
}

TEST(NotesDictation, SynthesizerJudgesThePitchAndPlaysTheWrongOne) {
    EngineRig rig;
    startWithQuestion(rig, settingsWith({60, 72}), 0);
    rig.view.onMouseMove(rig.staffPoint(72), false);
    const std::size_t before = rig.midi.notes().size();
    rig.view.onLButtonDown(rig.staffPoint(72));
    EXPECT_EQ(rig.view.state().okCount, 0);
    EXPECT_EQ(rig.view.state().errorCount, 1);
    EXPECT_EQ(rig.view.state().wrongMark, 72);
    ASSERT_EQ(rig.midi.notes().size(), before + 1);
    EXPECT_EQ(rig.midi.notes().back().keys[0], 72);
    // Hovering another pitch clears the red mark.
    rig.view.onMouseMove(rig.staffPoint(60), false);
    EXPECT_EQ(rig.view.state().wrongMark, -1);
    // Unselected pitches are not hovered.
    rig.view.onMouseMove(rig.staffPoint(62), false);
    EXPECT_EQ(rig.view.state().hoverPitch, 60);
}

TEST(NotesDictation, ClickBeforeAnyNote) {
    EngineRig rig;
    rig.prepare(settingsWith({60, 72}));
    rig.view.onCommand(NotesDictationCommand);
    rig.view.onLButtonDown(rig.staffPoint(60)); // nothing hovered: nothing happens
    EXPECT_EQ(rig.view.state().errorCount, 0);
    EXPECT_TRUE(rig.midi.notes().empty());
    rig.view.onMouseMove(rig.staffPoint(60), false);
    rig.view.onLButtonDown(rig.staffPoint(60));
    EXPECT_EQ(rig.view.state().errorCount, 1);
    EXPECT_EQ(rig.view.state().okCount, 0);
    ASSERT_EQ(rig.midi.notes().size(), 1u);
    EXPECT_EQ(rig.midi.notes()[0].keys[0], 60);
}

TEST(PlayNotes, ClickAndDragPlayEachNewNoteOnce) {
    EngineRig rig;
    rig.prepare(settingsWithRange(60, 72));
    EXPECT_EQ(rig.view.gameMode(), GameMode::PlayNotes);
    rig.view.onLButtonDown(rig.staffPoint(64));
    EXPECT_EQ(rig.view.state().highlightPitch, 64);
    rig.view.onMouseMove(rig.staffPoint(64), true);
    rig.view.onMouseMove(rig.staffPoint(65), false); // button up: nothing
    rig.view.onMouseMove(rig.staffPoint(65), true);
    rig.view.onMouseMove({60, 2800}, true); // keyboard key 36: not selected
    ASSERT_EQ(rig.midi.notes().size(), 2u);
    EXPECT_EQ(rig.midi.notes()[1].keys[0], 65);
    EXPECT_EQ(rig.view.state().highlightPitch, 255);
}

class RecognizeTest : public ::testing::Test {
protected:
    void start(int soundMode, std::initializer_list<int> pitches) {
        SettingsRecord s = settingsWith(pitches);
        s.soundMode = soundMode;
        rig.recognizer.templates.fill(1);
        rig.recognizer.loadResult = 0;
        rig.view.loadUserFiles();
        rig.prepare(s);
        ASSERT_TRUE(rig.view.onCommand(RecognizeCommand));
    }
    void say(int slot) {
        ASSERT_TRUE(rig.recognizer.recognise(slot));
        rig.tick();
    }
    EngineRig rig;
};

TEST_F(RecognizeTest, WordBeforeAnyNoteIsWrong) {
    start(Instrument, {60, 64});
    say(64);
    EXPECT_EQ(rig.view.state().errorCount, 1);
    EXPECT_EQ(rig.view.state().wrongMark, 64);
}

TEST_F(RecognizeTest, VoiceRightAndNearestWrongMark) {
    start(Voice, {48, 60, 64, 72, 76});
    rig.random.script = {1}; // nthSelected(1): 60
    rig.ticks(3);
    ASSERT_EQ(rig.view.state().expectedPitch, 60);
    say(24); // third recording of DO
    EXPECT_EQ(rig.view.state().okCount, 1);
    EXPECT_EQ(rig.view.questionNotes()[0].answered, 1);

    while (rig.view.questionNotes().size() < 2) {
        rig.random.script = {1};
        rig.tick();
    }
    ASSERT_EQ(rig.view.state().expectedPitch, 60);
    say(4); // MI: 64 and 76 selected, 64 is nearest to 60
    EXPECT_EQ(rig.view.state().errorCount, 1);
    EXPECT_EQ(rig.view.state().wrongMark, 64);
    say(12); // DO, second recording: right again
    EXPECT_EQ(rig.view.state().okCount, 2);
}

TEST_F(RecognizeTest, VoiceTieTakesTheLowerPitch) {
    start(Voice, {55, 62, 67});
    rig.random.script = {1}; // 62
    rig.ticks(3);
    ASSERT_EQ(rig.view.state().expectedPitch, 62);
    say(7); // SOL: 55 and 67 are 7 and 5 away: 67
    EXPECT_EQ(rig.view.state().wrongMark, 67);
}

TEST(GroupRules, CompareBlockAsSetsAndMelodicInOrder) {
    auto note = [](int pitch, int x, int group) {
        CNote n;
        n.pitch = static_cast<std::uint8_t>(pitch);
        n.x = x;
        n.groupIndex = static_cast<std::uint8_t>(group);
        return n;
    };
    CNotesList questions;
    questions.appendAt(note(60, 1000, 0), 1000);
    questions.appendAt(note(63, 1000, 1), 1000);
    questions.appendAt(note(67, 1000, 2), 1000);
    questions.appendAt(note(50, 1300, 0), 1300);
    CNotesList answer;
    for (int p : {67, 60, 63}) {
        answer.appendAt(note(p, 1000, 0), 1000);
    }
    EXPECT_TRUE(compareGroups(questions, answer));
    answer.appendAt(note(50, 1000, 0), 1000);
    EXPECT_FALSE(compareGroups(questions, answer)); // different counts

    CNotesList melodic;
    melodic.appendAt(note(60, 1000, 0), 1000);
    melodic.appendAt(note(67, 1080, 1), 1080);
    CNotesList reversed;
    reversed.appendAt(note(67, 1000, 0), 1000);
    reversed.appendAt(note(60, 1080, 1), 1080);
    EXPECT_FALSE(compareGroups(melodic, reversed));
    melodic.front().answered = 1; // the first group's rest still counts
    EXPECT_FALSE(compareGroups(melodic, reversed));
    CNotesList empty;
    EXPECT_FALSE(compareGroups(empty, empty)); // no question is never right

    CNotesList m;
    for (int p : {57, 60, 64}) {
        m.appendAt(note(p, 1000, 0), 1000);
    }
    EXPECT_EQ(identifyChord(m), 1); // "m"
}

TEST(GroupRules, FittingRules) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 83);
    s.intervals.fill(0);
    s.intervals[0] = 1;
    s.intervals[7] = 1;
    s.intervalsTogether = 0;
    s.intervalsUp = 1;
    rig.prepare(s);
    const auto& t = rig.view.pitchTable();
    const auto& st = rig.view.settings();
    EXPECT_TRUE(intervalFits(st, t, 60, 7));
    EXPECT_FALSE(intervalFits(st, t, 60, -7)); // no descending
    EXPECT_FALSE(intervalFits(st, t, 60, 5));
    EXPECT_FALSE(intervalFits(st, t, 77, 7)); // 84
    EXPECT_FALSE(intervalFits(st, t, 59, 7)); // base not selected
    EXPECT_TRUE(intervalFits(st, t, 60, 0));
    EXPECT_TRUE(chordFits(st, t, 60, 0));
    EXPECT_FALSE(chordFits(st, t, 77, 0));  // 77 + 7 > 83
    EXPECT_FALSE(chordFits(st, t, 60, 12)); // slots 10..19 name no chord
    rig.view.settings().selectedNotesOnly = 1;
    EXPECT_TRUE(chordFits(st, t, 60, 0)); // 64 and 67 selected
    rig.view.settings().notes[64 - 36] = 0;
    rig.prepare(rig.view.settings());
    EXPECT_FALSE(chordFits(st, t, 60, 0));
    EXPECT_TRUE(chordFits(st, t, 60, 1)); // 63 67
}

// Play intervals with a harmonic fifth on 36 (scripted draws: direction, then pair 1).
class IntervalPlacing : public ::testing::Test {
protected:
    void start(std::initializer_list<int> sizes, bool together, bool up, bool down) {
        SettingsRecord s = settingsWithRange(36, 83);
        s.intervals.fill(0);
        s.intervals[0] = 1;
        for (int n : sizes) {
            s.intervals[static_cast<std::size_t>(n)] = 1;
        }
        s.intervalsTogether = together;
        s.intervalsUp = up;
        s.intervalsDown = down;
        rig.prepare(s);
        ASSERT_TRUE(rig.view.onCommand(PlayIntervalsCommand));
        rig.random.script = {0, 1};
        rig.tick();
        ASSERT_EQ(rig.view.answerGroup().size(), 2u);
    }
    int low() const { return rig.view.answerGroup()[0].pitch; }
    int high() const { return rig.view.answerGroup()[1].pitch; }
    EngineRig rig;
};

TEST_F(IntervalPlacing, MoveKeepsOrAdaptsTheChosenSize) {
    start({4, 7}, true, false, false);
    ASSERT_EQ(low(), 36);
    ASSERT_EQ(high(), 43);
    rig.view.onMouseMove(rig.staffPoint(48), false);
    EXPECT_EQ(low(), 48);
    EXPECT_EQ(high(), 55);
    EXPECT_EQ(rig.view.groupShape().text, "DO +7/2");
    rig.view.onMouseMove(rig.staffPoint(79), false); // 79 + 7 > 83: the nearest size that fits
    EXPECT_EQ(low(), 79);
    EXPECT_EQ(high(), 83);
    EXPECT_EQ(rig.view.groupShape().shownInterval, 4);
    EXPECT_EQ(rig.view.groupShape().chosenInterval, 7);
    rig.view.onMouseMove(rig.staffPoint(60), false);
    EXPECT_EQ(high(), 67);
    EXPECT_EQ(rig.view.groupShape().shownInterval, 7);
    EXPECT_EQ(rig.view.staffLayout().pitchY(67), rig.view.answerGroup()[1].staffY);
}

TEST_F(IntervalPlacing, WheelFindsTheNextFittingSizeInAnAllowedDirection) {
    start({3, 4}, false, true, false); // melodic, upward only: 36 then 40
    ASSERT_EQ(high() - low(), 4);
    rig.view.onMouseWheel(1, {0, 0});
    EXPECT_EQ(high() - low(), 4); // nothing larger fits
    rig.view.onMouseWheel(-1, {0, 0});
    EXPECT_EQ(high() - low(), 3);
    EXPECT_EQ(rig.view.groupShape().chosenInterval, 3);
    EXPECT_EQ(rig.view.groupShape().text, "DO +3/2");
}

TEST(ChordPlacing, MoveRebuildsWhenTheChordNoLongerFits) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(36, 83);
    s.chords.fill(0);
    s.chords[0] = 1; // M, span 7
    s.chords[2] = 1; // M5b, span 6
    rig.prepare(s);
    rig.view.onCommand(PlayChordsCommand);
    rig.random.script = {0}; // pair 0: 36 M
    rig.tick();
    ASSERT_EQ(rig.view.answerGroup().size(), 3u);
    ASSERT_EQ(rig.view.groupShape().shownChord, 0);
    rig.view.onMouseMove(rig.staffPoint(77), false); // 77 + 7 > 83; M5b fits (83)
    EXPECT_EQ(rig.view.groupShape().shownChord, 2);
    EXPECT_EQ(rig.view.answerGroup()[2].pitch, 83);
    EXPECT_EQ(rig.view.groupShape().text, "FA M5b");
    rig.view.onMouseMove(rig.staffPoint(60), false);
    EXPECT_EQ(rig.view.groupShape().shownChord, 0);
    EXPECT_EQ(rig.view.answerGroup()[1].pitch, 64);
    // The wheel goes to the next fitting type, and round to itself.
    rig.view.onMouseWheel(1, {0, 0});
    EXPECT_EQ(rig.view.groupShape().shownChord, 2);
    EXPECT_EQ(rig.view.answerGroup()[1].pitch, 63);
    rig.view.onMouseWheel(-1, {0, 0});
    EXPECT_EQ(rig.view.groupShape().shownChord, 0);
}

TEST(ChordPlacing, DescendingArpeggioNeverLeavesTheRange) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(36, 83);
    s.chords.fill(0);
    s.chords[9] = 1; // dim7
    s.intervalsTogether = 0;
    s.intervalsDown = 1;
    s.speed = 10;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(ChordsDictationCommand));
    while (rig.view.answerGroup().empty()) {
        rig.tick();
    }
    for (int p : {36, 38, 40, 45, 83, 36}) {
        rig.view.onMouseMove(rig.staffPoint(p), false);
        for (const CNote& n : rig.view.answerGroup()) {
            ASSERT_GE(n.pitch, 36);
            ASSERT_LE(n.pitch, 83);
        }
    }
}

TEST(ChordPlacing, WrongAnswerStaysShowsRedCopyAndPlaysIt) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 65});
    s.chords.fill(0);
    s.chords[0] = 1;
    s.speed = 1;
    rig.prepare(s);
    rig.view.onCommand(ChordsDictationCommand);
    while (rig.view.answerGroup().empty()) {
        rig.tick();
    }
    // Put the group on the other selected pitch than the question's.
    const int question = rig.view.questionNotes()[0].pitch;
    const int other = question == 60 ? 65 : 60;
    rig.view.onMouseMove(rig.staffPoint(other), false);
    ASSERT_EQ(rig.view.answerGroup()[0].pitch, other);
    for (int click = 1; click <= 2; ++click) {
        rig.view.onLButtonDown(rig.staffPoint(other));
        EXPECT_EQ(rig.view.state().errorCount, click);
        EXPECT_EQ(rig.view.answerGroup().size(), 3u);
        EXPECT_EQ(rig.view.wrongGroup().size(), 3u);
    }
    const std::size_t before = rig.midi.notes().size();
    rig.ticks(15);
    ASSERT_GT(rig.midi.notes().size(), before);
    EXPECT_EQ(rig.midi.notes()[before].keys[0], other);

    rig.view.onMouseMove(rig.staffPoint(question), false);
    EXPECT_TRUE(rig.view.wrongGroup().empty()); // a move clears the red copy
    rig.view.onLButtonDown(rig.staffPoint(question));
    EXPECT_EQ(rig.view.state().okCount, 1);
    EXPECT_TRUE(rig.view.answerGroup().empty());
    EXPECT_EQ(rig.view.questionNotes()[2].answered, 1);
}

} // namespace
} // namespace tessimo
