// Whole games played through the view's public entry points by scripted players.
#include <gtest/gtest.h>

#include "EngineRig.h"
#include "game/GroupRules.h"
#include "model/Pitch.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::settingsWith;
using testing::settingsWithRange;

// The first unanswered group of the question notes.
std::vector<CNote> firstGroup(const CNotesList& questions) {
    std::vector<CNote> group;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const CNote& n = questions[i];
        if (!group.empty() && n.groupIndex == 0) {
            break;
        }
        if (n.answered == 0) {
            group.push_back(n);
        }
    }
    return group;
}

TEST(WholeGame, NotesDictationRightPlayerScoresOnlyOk) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(48, 72); // naturals and sharps
    s.speed = 3;
    s.errorLimitOn = 1;
    s.unknownLimitOn = 1;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(NotesDictationCommand));
    for (int i = 0; i < 3000; ++i) {
        rig.tick();
        const CNote* first = rig.view.questionNotes().firstUnanswered();
        if (first != nullptr && first->x < 1700) {
            // The right place: the note's head, or half a step above it for a sharp.
            const int y = first->staffY - (isBlackKey(first->pitch) ? 40 : 0);
            rig.view.onMouseMove({first->x, y}, false);
            rig.view.onLButtonDown({first->x, y});
        }
    }
    EXPECT_GT(rig.view.state().okCount, 70);
    EXPECT_EQ(rig.view.state().errorCount, 0);
    EXPECT_EQ(rig.view.state().unknownCount, 0);
    EXPECT_TRUE(rig.running());
}

TEST(WholeGame, NotesDictationWrongPlayerFreezesAtTheErrorLimit) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    s.errorLimitOn = 1;
    s.maxErrors = 5;
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    for (int i = 0; i < 3000; ++i) {
        rig.tick();
        const CNote* first = rig.view.questionNotes().firstUnanswered();
        if (first != nullptr && i % 50 == 0) {
            const int wrong = first->pitch == 60 ? 62 : 60;
            rig.view.onMouseMove(rig.staffPoint(wrong), false);
            rig.view.onLButtonDown(rig.staffPoint(wrong));
        }
    }
    EXPECT_EQ(rig.view.state().errorCount, 5);
    EXPECT_EQ(rig.view.state().okCount, 0);
    EXPECT_FALSE(rig.running());
    EXPECT_EQ(rig.view.gameMode(), GameMode::NotesDictation);
}

TEST(WholeGame, RecognizeRightWordsOnly) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(48, 72);
    s.soundMode = Voice;
    rig.recognizer.templates.fill(1);
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(RecognizeCommand));
    int said = 0;
    for (int i = 0; i < 3000; ++i) {
        rig.tick();
        const CNote* first = rig.view.questionNotes().firstUnanswered();
        if (first != nullptr && first->x < 1500 && rig.view.state().expectedPitch == first->pitch &&
            i % 10 == 0) {
            // Any of the three recordings of the name.
            rig.recognizer.recognise(first->wordIndex + 12 * (i % 3));
            ++said;
        }
    }
    EXPECT_GT(rig.view.state().okCount, 60);
    EXPECT_EQ(rig.view.state().errorCount, 0);
    EXPECT_EQ(rig.view.state().unknownCount, 0);
}

// Moves the group onto the question's first note, wheels it to the question's shape, clicks.
void solveGroups(EngineRig& rig, bool chords, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        rig.tick();
        const auto& answer = rig.view.answerGroup();
        const std::vector<CNote> question = firstGroup(rig.view.questionNotes());
        if (answer.empty() || question.empty() || question.front().x > 1500) {
            continue;
        }
        const CNote& head = question.front();
        const DevicePoint onFirst{head.x, head.staffY - (isBlackKey(head.pitch) ? 40 : 0)};
        rig.view.onMouseMove(onFirst, false);
        auto matches = [&] {
            bool same = answer.size() == question.size();
            for (std::size_t k = 0; same && k < answer.size(); ++k) {
                same = answer[k].pitch == question[k].pitch;
            }
            return same;
        };
        for (int turn = 0; turn < 25 && !matches(); ++turn) {
            if (chords) {
                rig.view.onMouseWheel(1, onFirst);
            } else {
                const int want = question[1].pitch - question[0].pitch;
                const int have = answer[1].pitch - answer[0].pitch;
                rig.view.onMouseWheel(want > have ? 1 : -1, onFirst);
            }
            rig.view.onMouseMove(onFirst, false);
        }
        if (matches()) {
            rig.view.onLButtonDown(onFirst);
        }
    }
}

TEST(WholeGame, IntervalDictationSolvedByMovingAndWheeling) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(48, 72);
    s.wheelChangesType = 1;
    s.intervalsUp = 1;
    s.speed = 4;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(IntervalDictationCommand));
    solveGroups(rig, false, 4000);
    EXPECT_GT(rig.view.state().okCount, 25);
    EXPECT_EQ(rig.view.state().errorCount, 0);
    EXPECT_EQ(rig.view.state().unknownCount, 0);
}

TEST(WholeGame, ChordsDictationSolvedByMovingAndWheeling) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(48, 60);
    s.wheelChangesType = 1;
    s.intervalsUp = 1;
    s.speed = 4;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(ChordsDictationCommand));
    solveGroups(rig, true, 4000);
    EXPECT_GT(rig.view.state().okCount, 15);
    EXPECT_EQ(rig.view.state().errorCount, 0);
    EXPECT_EQ(rig.view.state().unknownCount, 0);
}

TEST(WholeGame, PlayModesSoundTheClickedGroup) {
    EngineRig rig;
    rig.prepare(settingsWithRange(48, 72));
    for (int command : {PlayIntervalsCommand, PlayChordsCommand}) {
        rig.view.onCommand(command);
        rig.tick();
        const std::size_t size = rig.view.answerGroup().size();
        ASSERT_GE(size, 2u);
        rig.view.onMouseMove(rig.staffPoint(60), false);
        EXPECT_EQ(rig.view.answerGroup().front().pitch, 60);
        const std::size_t before = rig.midi.notes().size();
        rig.view.onLButtonDown(rig.staffPoint(60));
        rig.ticks(30);
        std::size_t keys = 0;
        for (std::size_t i = before; i < rig.midi.notes().size(); ++i) {
            keys += rig.midi.notes()[i].keys.size();
        }
        EXPECT_EQ(keys, size);
    }
}

} // namespace
} // namespace tessimo
