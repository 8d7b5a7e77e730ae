#include <gtest/gtest.h>

#include <set>

#include "EngineRig.h"
#include "game/PickDuration.h"
#include "game/QuestionGenerator.h"
#include "model/ChordTable.h"
#include "model/Durations.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::settingsWith;
using testing::settingsWithRange;

SettingsRecord withDurations(std::initializer_list<int> codes) {
    SettingsRecord s;
    s.durations.fill(0);
    for (int c : codes) {
        s.durations[static_cast<std::size_t>(c)] = 1;
    }
    s.buildDurationList();
    return s;
}

TEST(PickDuration, SimpleCases) {
    MersenneRandom random(7);
    EXPECT_EQ(pickDuration(withDurations({5}), 16, random), 5);
    EXPECT_EQ(pickDuration(withDurations({0}), 128, random), -1);
    EXPECT_FALSE(durationsCanFill(withDurations({0}), 128));
    EXPECT_EQ(pickDuration(withDurations({}), 16, random), -1);
    EXPECT_EQ(pickDuration(withDurations({5}), 8, random), -1); // shorter than the shortest

    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const int code = pickDuration(withDurations({3, 5}), 48, random);
        ASSERT_TRUE(code == 3 || code == 5);
        seen.insert(code);
    }
    EXPECT_EQ(seen.size(), 2u); // both are possible: rests 16 and 32 can be filled
    // 24 + 24 fills 48 but 24 + 16 cannot fill 40: with codes 4 and 5, 40 = 24 + 16.
    EXPECT_TRUE(durationsCanFill(withDurations({4, 5}), 40));
    EXPECT_FALSE(durationsCanFill(withDurations({4, 5}), 44));
}

// Bars filled note by note add up exactly, for random sets of note values and every metre.
TEST(PickDuration, FillsEveryBarExactlyOrRefuses) {
    MersenneRandom random(3);
    for (int trial = 0; trial < 400; ++trial) {
        SettingsRecord s;
        for (auto& d : s.durations) {
            d = random.next() % 4 == 0 ? 1 : 0;
        }
        s.buildDurationList();
        const int bar =
            BeatTable[random.next() % BeatChoiceCount] * static_cast<int>(2 + random.next() % 5);
        if (!durationsCanFill(s, bar)) {
            EXPECT_EQ(pickDuration(s, bar, random), -1);
            continue;
        }
        int remaining = bar;
        while (remaining > 0) {
            const int code = pickDuration(s, remaining, random);
            ASSERT_GE(code, 0) << "stuck with " << remaining << " of " << bar;
            ASSERT_NE(s.durations[static_cast<std::size_t>(code)], 0);
            remaining -= DurationTable[static_cast<std::size_t>(code)];
            ASSERT_GE(remaining, 0);
        }
    }
}

class GeneratorTest : public ::testing::Test {
protected:
    void prepare(const SettingsRecord& s) {
        rig.prepare(s);
        clock.barLength = 128;
        clock.barRemaining = 128;
        clock.unitCounter = 0;
        clock.nextSpawnUnit = 0;
    }
    QuestionGenerator generator() {
        return QuestionGenerator(rig.view.settings(), rig.view.pitchTable(), rig.random);
    }
    EngineRig rig;
    UnitClock clock;
    GroupShape shape;
    CNotesList list;
};

TEST_F(GeneratorTest, NoteQuestionEntersAtTheEdge) {
    prepare(settingsWith({64}));
    generator().newNoteQuestion(GameMode::NotesDictation, clock, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].pitch, 64);
    EXPECT_EQ(list[0].x, 1960);
    EXPECT_EQ(list[0].barStart, 1);
    EXPECT_EQ(list[0].staffY, rig.view.staffLayout().pitchY(64));
    EXPECT_EQ(clock.nextSpawnUnit, 16);
}

TEST_F(GeneratorTest, IntervalQuestionDirections) {
    SettingsRecord s = settingsWith({60});
    s.intervals.fill(0);
    s.intervals[7] = 1;
    s.intervalsTogether = 0;
    s.intervalsDown = 1;
    prepare(s);
    clock.barRemaining = 100;
    generator().newIntervalQuestion(clock, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].pitch, 60);
    EXPECT_EQ(list[0].isReference, 1);
    EXPECT_EQ(list[1].pitch, 53);
    EXPECT_EQ(list[1].groupIndex, 1);
    EXPECT_EQ(list[1].x, 2040);
    EXPECT_EQ(list[1].staffY, rig.view.pitchTable()[53].staffY);
    EXPECT_EQ(clock.nextSpawnUnit, 32);

    // When the bar has just the shortest value left, the interval is sounded together.
    list.removeAll();
    clock.barRemaining = 16; // quarter and dotted quarter enabled: the quarter is shortest
    generator().newIntervalQuestion(clock, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].pitch, 67);
    EXPECT_EQ(list[1].x, 1960);
    EXPECT_EQ(clock.nextSpawnUnit, 48);
}

TEST_F(GeneratorTest, DescendingDrawWithNoRoomFallsBackUpward) {
    SettingsRecord s = settingsWith({36, 38});
    s.intervals.fill(0);
    s.intervals[12] = 1;
    s.intervalsTogether = 0;
    s.intervalsDown = 1; // nothing fits downward from 36 or 38
    prepare(s);
    for (int i = 0; i < 20; ++i) {
        list.removeAll();
        clock.barRemaining = 100;
        generator().newIntervalQuestion(clock, list);
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[1].pitch, list[0].pitch + 12);
    }
}

TEST_F(GeneratorTest, ChordQuestionDownwardDim7) {
    SettingsRecord s = settingsWith({60});
    s.chords.fill(0);
    s.chords[9] = 1;
    s.intervalsTogether = 0;
    s.intervalsDown = 1;
    prepare(s);
    clock.unitCounter = 112; // the second note starts the next bar of 128
    generator().newChordQuestion(clock, list);
    ASSERT_EQ(list.size(), 4u);
    const int pitches[] = {60, 57, 54, 51};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(list[static_cast<std::size_t>(k)].pitch, pitches[k]);
        EXPECT_EQ(list[static_cast<std::size_t>(k)].x, 1960 + 80 * k);
        EXPECT_EQ(list[static_cast<std::size_t>(k)].groupIndex, k);
        EXPECT_EQ(list[static_cast<std::size_t>(k)].barStart, k == 1 ? 1 : 0);
    }
    EXPECT_EQ(list[0].isReference, 1);
    EXPECT_EQ(list[1].isReference, 0);
    EXPECT_EQ(clock.nextSpawnUnit, 64);
}

TEST_F(GeneratorTest, BlockChordTakesOneQuarter) {
    SettingsRecord s = settingsWith({48});
    s.chords.fill(0);
    s.chords[1] = 1; // m
    prepare(s);
    generator().newChordQuestion(clock, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].pitch, 48);
    EXPECT_EQ(list[1].pitch, 51);
    EXPECT_EQ(list[2].pitch, 55);
    EXPECT_EQ(list[2].x, 1960);
    EXPECT_EQ(clock.nextSpawnUnit, 16);
}

TEST_F(GeneratorTest, PlayIntervalNearTheTopMovesDown) {
    SettingsRecord s = settingsWith({80});
    s.intervals.fill(0);
    s.intervals[5] = 1;
    prepare(s);
    generator().newPlayInterval(clock, shape, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].pitch, 75);
    EXPECT_EQ(list[0].isReference, 0);
    EXPECT_EQ(list[1].pitch, 80);
    EXPECT_EQ(list[1].isReference, 1);
    EXPECT_EQ(list[0].x, 980);
    EXPECT_EQ(list[1].x, 980);
    EXPECT_EQ(shape.shownInterval, 5);
    EXPECT_EQ(shape.spread, 0);

    s.intervalsTogether = 0;
    s.intervalsDown = 1;
    prepare(s);
    generator().newPlayInterval(clock, shape, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].pitch, 80); // down: the high note first
    EXPECT_EQ(list[1].pitch, 75);
    EXPECT_EQ(list[1].x, 1268);
    EXPECT_EQ(shape.spread, 288);
}

TEST_F(GeneratorTest, PlayChordArpeggioIsCentred) {
    SettingsRecord s = settingsWith({60});
    s.chords.fill(0);
    s.chords[6] = 1; // 7: 0 4 7 10
    s.intervalsTogether = 0;
    s.intervalsUp = 1;
    prepare(s);
    generator().newPlayChord(shape, list);
    ASSERT_EQ(list.size(), 4u);
    const int xs[] = {840, 920, 1000, 1080};
    const int pitches[] = {60, 64, 67, 70};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(list[static_cast<std::size_t>(k)].x, xs[k]);
        EXPECT_EQ(list[static_cast<std::size_t>(k)].pitch, pitches[k]);
    }
    EXPECT_EQ(shape.shownChord, 6);
    EXPECT_EQ(shape.spread, 240);
}

// For any settings the enabling rules accept, every generator returns promptly with a valid
// question.
TEST(GeneratorTermination, RandomAcceptedSettings) {
    MersenneRandom random(11);
    int accepted = 0;
    for (int trial = 0; trial < 600; ++trial) {
        EngineRig rig(static_cast<std::uint32_t>(trial));
        SettingsRecord s;
        const int density = 2 + static_cast<int>(random.next() % 20);
        for (auto& n : s.notes) {
            n = random.next() % static_cast<unsigned>(density) == 0 ? 1 : 0;
        }
        for (int i = 1; i <= 12; ++i) {
            s.intervals[static_cast<std::size_t>(i)] = random.next() % 3 == 0 ? 1 : 0;
        }
        for (auto& c : s.chords) {
            c = random.next() % 4 == 0 ? 1 : 0;
        }
        s.intervalsTogether = random.next() % 2;
        s.intervalsUp = random.next() % 2;
        s.intervalsDown = random.next() % 2;
        s.selectedNotesOnly = random.next() % 2;
        rig.prepare(s);
        const bool intervals = rig.view.isCommandEnabled(IntervalDictationCommand);
        const bool chords = rig.view.isCommandEnabled(ChordsDictationCommand);
        QuestionGenerator generator(rig.view.settings(), rig.view.pitchTable(), rig.random);
        UnitClock clock;
        GroupShape shape;
        clock.barLength = 128;
        for (int q = 0; q < 10; ++q) {
            CNotesList list;
            clock.barRemaining = 100;
            if (intervals) {
                generator.newIntervalQuestion(clock, list);
                ASSERT_EQ(list.size(), 2u);
                generator.newPlayInterval(clock, shape, list);
                ASSERT_EQ(list.size(), 2u);
                EXPECT_EQ(std::abs(list[1].pitch - list[0].pitch), shape.shownInterval);
            }
            if (chords) {
                list.removeAll();
                generator.newChordQuestion(clock, list);
                ASSERT_GE(list.size(), 3u);
                for (const CNote& n : list) {
                    ASSERT_TRUE(n.pitch >= 36 && n.pitch <= 83);
                }
                generator.newPlayChord(shape, list);
                ASSERT_GE(list.size(), 3u);
            }
        }
        accepted += (intervals ? 1 : 0) + (chords ? 1 : 0);
    }
    EXPECT_GT(accepted, 300); // the sample really exercises the generators
}

} // namespace
} // namespace tessimo

namespace tessimo {
namespace {

// The shape and height a dictation question's answer group starts from are drawn from the
// selection, so the same seed gives the same game in a small window and a large one.
std::vector<std::vector<int>> shownGroups(int command, ClientSize size) {
    testing::EngineRig rig(21);
    rig.window.size = size;
    SettingsRecord s = testing::settingsWithRange(48, 72);
    s.speed = 10;
    s.intervalsUp = 1;
    s.intervalsDown = 1;
    rig.prepare(s);
    EXPECT_TRUE(rig.view.onCommand(command));
    std::vector<std::vector<int>> shown;
    // Without answers, a question is set up at the start and then whenever one leaves.
    for (int i = 0, left = -1; i < 1500; ++i) {
        rig.tick();
        if (rig.view.state().unknownCount != left && !rig.view.answerGroup().empty()) {
            left = rig.view.state().unknownCount;
            std::vector<int> pitches;
            for (const CNote& note : rig.view.answerGroup()) {
                pitches.push_back(note.pitch);
            }
            shown.push_back(pitches);
        }
    }
    return shown;
}

TEST(Generator, ShownGroupDoesNotDependOnTheWindow) {
    for (int command : {IntervalDictationCommand, ChordsDictationCommand}) {
        const auto large = shownGroups(command, {2000, 3200});
        EXPECT_GT(large.size(), 10u);
        EXPECT_EQ(shownGroups(command, {640, 400}), large) << command;
        EXPECT_EQ(shownGroups(command, {1920, 1080}), large) << command;
    }
}

} // namespace
} // namespace tessimo
