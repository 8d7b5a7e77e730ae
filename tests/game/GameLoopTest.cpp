#include <gtest/gtest.h>

#include "EngineRig.h"
#include "model/Durations.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::settingsWith;
using testing::settingsWithRange;

TEST(GameLoop, SpeedThreeSpawnsEvery36TicksAt288Apart) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 3;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(NotesDictationCommand));
    EXPECT_EQ(rig.timer.period(), 40);
    // The first note appears once 18 x have scrolled: the third tick at 8 x per tick.
    rig.ticks(2);
    EXPECT_TRUE(rig.view.questionNotes().empty());
    rig.tick();
    ASSERT_EQ(rig.view.questionNotes().size(), 1u);
    rig.ticks(35);
    EXPECT_EQ(rig.view.questionNotes().size(), 1u);
    rig.tick();
    ASSERT_EQ(rig.view.questionNotes().size(), 2u);
    EXPECT_EQ(rig.view.questionNotes()[1].x - rig.view.questionNotes()[0].x, 288);
}

TEST(GameLoop, SpeedZeroWaitsAt1600) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 0;
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    rig.ticks(200);
    const auto& notes = rig.view.questionNotes();
    ASSERT_FALSE(notes.empty());
    const int x = notes.front().x;
    EXPECT_LE(x, 1600);
    EXPECT_GT(x, 1600 - 20);
    const std::size_t count = notes.size();
    const int units = rig.view.unitClock().unitCounter;
    rig.ticks(100); // waiting: nothing moves, no unit passes, no note is created
    EXPECT_EQ(notes.front().x, x);
    EXPECT_EQ(notes.size(), count);
    EXPECT_EQ(rig.view.unitClock().unitCounter, units);
    EXPECT_EQ(rig.view.state().unknownCount, 0);
}

TEST(GameLoop, UnansweredNotesCountOncePerNote) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 10;
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    int created = 0;
    std::size_t before = 0;
    int lastBack = -1;
    for (int i = 0; i < 2000; ++i) {
        rig.tick();
        const auto& notes = rig.view.questionNotes();
        if (!notes.empty() && notes.back().x == 1960 && notes.back().x != lastBack) {
            ++created;
        }
        lastBack = notes.empty() ? -1 : notes.back().x;
        before = notes.size();
        ASSERT_LE(before, 12u);
    }
    EXPECT_GT(created, 50);
    EXPECT_EQ(rig.view.state().unknownCount,
              created - static_cast<int>(rig.view.questionNotes().size()));
}

TEST(GameLoop, UnansweredChordCountsOnce) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(48, 60);
    s.speed = 10;
    s.intervalsUp = 1; // block chords and arpeggios
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(ChordsDictationCommand));
    int groups = 0;
    for (int i = 0; i < 3000; ++i) {
        rig.tick();
        for (const CNote& n : rig.view.questionNotes()) {
            groups += n.groupIndex == 0 && n.x == 1960 ? 1 : 0;
        }
    }
    int onStaff = 0;
    for (const CNote& n : rig.view.questionNotes()) {
        onStaff += n.groupIndex == 0 ? 1 : 0;
    }
    EXPECT_GT(groups, 30);
    EXPECT_EQ(rig.view.state().unknownCount, groups - onStaff);
    EXPECT_TRUE(rig.view.wrongGroup().empty());
}

TEST(GameLoop, ErrorLimitFreezesTheGame) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    s.errorLimitOn = 1;
    s.maxErrors = 1;
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    rig.ticks(5);
    ASSERT_FALSE(rig.view.questionNotes().empty());
    const int expected = rig.view.state().expectedPitch;
    const int wrong = expected == 60 ? 62 : 60;
    rig.view.onMouseMove(rig.staffPoint(wrong), false);
    rig.view.onLButtonDown(rig.staffPoint(wrong));
    EXPECT_EQ(rig.view.state().errorCount, 1);
    EXPECT_TRUE(rig.running());
    rig.tick();
    EXPECT_FALSE(rig.running());
    const int x = rig.view.questionNotes().front().x;
    EXPECT_TRUE(rig.view.state().frozen);
    rig.ticks(10);
    EXPECT_EQ(rig.view.questionNotes().front().x, x);
    EXPECT_EQ(rig.view.gameMode(), GameMode::NotesDictation);
    rig.view.onLButtonDown(rig.staffPoint(wrong)); // the final score stays
    EXPECT_EQ(rig.view.state().errorCount, 1);
    rig.view.onCommand(NotesDictationCommand);
    EXPECT_FALSE(rig.view.state().frozen);
    EXPECT_TRUE(rig.running());
}

TEST(GameLoop, ListenNotesFillsTheStaffAndEveryBar) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    s.durations.fill(0);
    s.durations[3] = s.durations[5] = s.durations[7] = s.durations[4] = 1; // 32 16 8 24
    s.beatLength = 32;
    s.beatsPerBar = 4; // 128 units
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(ListenNotesCommand));
    EXPECT_EQ(rig.timer.period(), 62);
    rig.tick();
    const auto& notes = rig.view.questionNotes();
    ASSERT_EQ(notes.size(), 11u);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].x, 1080 + 80 * static_cast<int>(i));
    }
    EXPECT_EQ(notes[0].answered, 1); // the paint started it at once
    ASSERT_EQ(rig.midi.notes().size(), 1u);
    EXPECT_EQ(rig.midi.notes()[0].keys[0], notes[0].pitch);

    // Bars add up to 128 units, each begun by a note with barStart.
    int inBar = 0;
    bool first = true;
    for (const CNote& n : notes) {
        if (n.barStart) {
            if (!first) {
                EXPECT_EQ(inBar, 128);
            }
            inBar = 0;
        }
        EXPECT_FALSE(first && !n.barStart);
        first = false;
        inBar += DurationTable[n.durationCode];
        // Notes follow one another in time.
        EXPECT_EQ(n.endTime - n.startTime, DurationTable[n.durationCode] * 62);
    }
    for (std::size_t i = 1; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].startTime, notes[i - 1].endTime);
    }
    // An hour later the list is still bounded and the notes still sound one by one.
    for (int i = 0; i < 5000; ++i) {
        rig.tick();
        ASSERT_LE(notes.size(), 30u);
    }
    EXPECT_GT(rig.midi.notes().size(), 100u);
}

TEST(GameLoop, RecordTimelineThenReplayAndSave) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 62, 64});
    s.soundMode = Instrument;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(RecordCommand));
    EXPECT_EQ(rig.confirmation.caption, "Record activity");
    EXPECT_EQ(rig.confirmation.text, "You are about to record selected notes");
    EXPECT_EQ(rig.timer.period(), 300);
    rig.recognizer.calls.clear();
    std::vector<std::pair<std::uint32_t, testing::FakeRecognizer::Call>> log;
    const std::uint32_t start = rig.clock.now;
    for (int i = 0; i < 30; ++i) {
        const std::size_t n = rig.recognizer.calls.size();
        rig.tick();
        for (std::size_t k = n; k < rig.recognizer.calls.size(); ++k) {
            log.push_back({rig.clock.now - start, rig.recognizer.calls[k]});
        }
        if (i < 9) {
            EXPECT_EQ(rig.view.recordProgress().position, i < 4 ? -3 : -2);
        }
    }
    using Call = testing::FakeRecognizer::Call;
    const std::vector<std::pair<std::uint32_t, Call>> expected = {
        {3000, {"StartNoiseMeasure", 0}},   {4200, {"StopCapture", 0}},
        {4500, {"StartWordRecording", 60}}, {5700, {"StopCapture", 0}},
        {6000, {"StartWordRecording", 62}}, {7200, {"StopCapture", 0}},
        {7500, {"StartWordRecording", 64}}, {8700, {"StopCapture", 0}},
    };
    EXPECT_EQ(log, expected);
    // The countdown repaints only its corner.
    ASSERT_FALSE(rig.window.rects.empty());
    EXPECT_EQ(rig.window.rects.front().right, 300);
    EXPECT_EQ(rig.window.rects.front().bottom, 400);
    EXPECT_EQ(rig.window.rects.size(), 14u);
    EXPECT_EQ(rig.view.gameMode(), GameMode::RecordReplay);
    EXPECT_EQ(rig.timer.period(), 1200);
    EXPECT_EQ(rig.view.pitchTable()[62].hasTemplate, 1);

    rig.recognizer.calls.clear();
    rig.ticks(4);
    EXPECT_EQ(rig.recognizer.callNames(),
              (std::vector<std::string>{"PlayWord", "PlayWord", "PlayWord", "SaveTemplates"}));
    EXPECT_EQ(rig.recognizer.calls[1].argument, 62);
    EXPECT_EQ(rig.recognizer.savedPath, "record.dat");
    EXPECT_EQ(rig.view.gameMode(), GameMode::Idle);
    EXPECT_TRUE(rig.view.idle());
    EXPECT_FALSE(rig.running());
}

TEST(GameLoop, NeverTwoTimers) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    rig.prepare(s);
    const int commands[] = {NotesDictationCommand,  ListenNotesCommand, PlayIntervalsCommand,
                            ChordsDictationCommand, PlayNotesCommand,   IntervalDictationCommand,
                            PlayChordsCommand,      ListenNotesCommand};
    for (int c : commands) {
        ASSERT_TRUE(rig.view.isCommandEnabled(c)) << c;
        rig.view.onCommand(c);
        rig.ticks(3);
        EXPECT_LE(rig.timer.running.size(), 1u);
    }
    rig.view.onCommand(PlayNotesCommand);
    EXPECT_TRUE(rig.timer.running.empty());
}

// Without answers, every question is played in the tick it becomes the first unanswered one
// (entering the staff, or the one before it leaving), then every 2000 ms until it leaves.
TEST(QuestionPlayback, EveryNoteQuestionIsPlayedWhenItBecomesFirst) {
    EngineRig rig(5);
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 3; // 8 x per tick: a question enters every 1440 ms and stays about 8.8 s
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    struct Question {
        int pitch;
        std::uint32_t becameFirst;
        std::vector<std::uint32_t> plays;
    };
    std::vector<Question> questions;
    int lastX = -1;
    std::size_t seen = 0;
    for (int i = 0; i < 2500; ++i) {
        rig.tick();
        const CNote* first = rig.view.questionNotes().firstUnanswered();
        if (first == nullptr) {
            lastX = -1;
            continue;
        }
        if (first->x != lastX - 8) {
            questions.push_back({first->pitch, rig.clock.now, {}});
        }
        lastX = first->x;
        for (; seen < rig.midi.calls.size(); ++seen) {
            const auto& call = rig.midi.calls[seen];
            if (call.program != -1) {
                ASSERT_EQ(call.keys, std::vector<int>{questions.back().pitch});
                questions.back().plays.push_back(rig.clock.now);
            }
        }
    }
    ASSERT_GT(questions.size(), 20u);
    EXPECT_EQ(rig.view.state().unknownCount + 1, static_cast<int>(questions.size()));
    for (std::size_t q = 0; q + 1 < questions.size(); ++q) {
        const Question& question = questions[q];
        ASSERT_FALSE(question.plays.empty()) << "question " << q << " was never played";
        EXPECT_EQ(question.plays.front(), question.becameFirst) << q;
        for (std::size_t k = 1; k < question.plays.size(); ++k) {
            EXPECT_EQ(question.plays[k] - question.plays[k - 1], 2000u) << q;
        }
    }
}

// After a right answer the next question, already on the staff, is played 500 ms later.
TEST(QuestionPlayback, RightAnswerLeavesAPauseBeforeTheNextQuestion) {
    EngineRig rig(5);
    SettingsRecord s = settingsWith({60, 64, 67});
    s.speed = 3;
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    while (rig.view.questionNotes().size() < 2) {
        rig.tick();
    }
    const int pitch = rig.view.questionNotes()[0].pitch;
    rig.view.onMouseMove(rig.staffPoint(pitch), false);
    rig.view.onLButtonDown(rig.staffPoint(pitch));
    ASSERT_EQ(rig.view.state().okCount, 1);
    const std::uint32_t answeredAt = rig.clock.now;
    const std::size_t before = rig.midi.notes().size();
    while (rig.midi.notes().size() == before && rig.clock.now - answeredAt < 3000) {
        rig.tick();
    }
    EXPECT_EQ(rig.clock.now - answeredAt, 520u); // the first tick at least 500 ms on
    EXPECT_EQ(rig.midi.notes().back().keys[0], rig.view.questionNotes()[1].pitch);
}

// An interval question is played from the tick after it enters, not 2000 ms later.
TEST(QuestionPlayback, GroupQuestionIsPlayedWhenItEnters) {
    EngineRig rig(3);
    SettingsRecord s = settingsWithRange(48, 72);
    s.speed = 3;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(IntervalDictationCommand));
    while (rig.view.questionNotes().empty()) {
        rig.tick();
    }
    const std::uint32_t enteredAt = rig.clock.now;
    while (rig.midi.notes().empty() && rig.clock.now - enteredAt < 3000) {
        rig.tick();
    }
    EXPECT_EQ(rig.clock.now - enteredAt, 40u);
    EXPECT_EQ(rig.midi.notes().front().keys[0], rig.view.questionNotes()[0].pitch);
}

// A note request carries its length in one byte: a quarter at Listen notes' 62 ms a unit
// (992 ms) says 255, the longest it can, never a wrapped-around 224.
TEST(QuestionPlayback, NoteLengthsSaturateInsteadOfWrapping) {
    EngineRig rig(3);
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 3;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(ListenNotesCommand)); // sets 62 ms a unit
    rig.ticks(3);
    ASSERT_TRUE(rig.view.onCommand(NotesDictationCommand));
    rig.midi.calls.clear();
    for (int i = 0; i < 200 && rig.midi.notes().empty(); ++i) {
        rig.tick();
    }
    ASSERT_FALSE(rig.midi.notes().empty());
    EXPECT_EQ(rig.midi.notes().front().lengths, std::vector<int>{255});
}

TEST(GroupPlayback, ArpeggioOneNotePer400msBlockAtOnce) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60});
    s.chords.fill(0);
    s.chords[0] = 1; // M
    s.intervalsTogether = 0;
    s.intervalsUp = 1;
    rig.prepare(s);
    rig.view.onCommand(PlayChordsCommand);
    rig.tick();
    ASSERT_EQ(rig.view.answerGroup().size(), 3u);
    rig.view.onLButtonDown({1000, 1000});
    std::vector<std::pair<std::uint32_t, int>> played;
    for (int i = 0; i < 60; ++i) {
        const std::size_t n = rig.midi.notes().size();
        rig.tick();
        if (rig.midi.notes().size() > n) {
            ASSERT_EQ(rig.midi.notes().back().keys.size(), 1u);
            played.push_back({rig.clock.now, rig.midi.notes().back().keys[0]});
        }
    }
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[0].second, 60);
    EXPECT_EQ(played[1].second, 64);
    EXPECT_EQ(played[2].second, 67);
    EXPECT_EQ(played[1].first - played[0].first, 400u);
    const std::size_t afterChord = rig.midi.notes().size();
    rig.ticks(30);
    EXPECT_EQ(rig.midi.notes().size(), afterChord); // the playback ended with the chord

    s.intervalsTogether = 1;
    s.intervalsUp = 0;
    rig.prepare(s);
    rig.view.onCommand(PlayChordsCommand);
    rig.tick();
    rig.view.onLButtonDown({1000, 1000});
    const std::size_t n = rig.midi.notes().size();
    rig.ticks(30);
    ASSERT_EQ(rig.midi.notes().size(), n + 1);
    EXPECT_EQ(rig.midi.notes().back().keys, (std::vector<int>{60, 64, 67}));
}

} // namespace
} // namespace tessimo
