#include <gtest/gtest.h>

#include "model/PitchTable.h"
#include "support/FakeTemplateStore.h"

namespace tessimo {
namespace {

SettingsRecord onlyPitches(std::initializer_list<int> pitches, int soundMode) {
    SettingsRecord s;
    s.notes.fill(0);
    for (int p : pitches) {
        s.notes[static_cast<std::size_t>(p - 36)] = 1;
    }
    s.soundMode = soundMode;
    return s;
}

TEST(PitchTable, LoadSetsEveryEntryFromTemplateFlags) {
    PitchTable table;
    std::array<std::uint8_t, TemplateSlotCount> present{};
    present[3] = 1;
    present[83] = 1;
    table[50].selected = 1;
    table[50].durationCode = 2;
    table.loadTemplateFlags(present);
    EXPECT_EQ(table[3].hasTemplate, 1);
    EXPECT_EQ(table[83].hasTemplate, 1);
    EXPECT_EQ(table[4].hasTemplate, 0);
    EXPECT_EQ(table[99].pitch, 99);
    EXPECT_EQ(table[50].selected, 0);
    EXPECT_EQ(table[50].durationCode, 5);
}

TEST(PitchTable, VoiceSharesOneWordPerPitchClass) {
    PitchTable table;
    testing::FakeTemplateStore recognizer;
    table.rebuildSelection(onlyPitches({60, 72}, Voice), recognizer);
    EXPECT_EQ(table.selectedCount(), 2);
    EXPECT_EQ(table.wordCount(), 3);
    for (int slot : {0, 12, 24}) {
        EXPECT_EQ(table[slot].wordActive, 1);
        EXPECT_EQ(table[slot].wordIndex, slot);
        EXPECT_EQ(table[slot].pitch, 60);
        EXPECT_EQ(recognizer.candidates[static_cast<std::size_t>(slot)], 1);
    }
    EXPECT_EQ(table[60].wordIndex, 0);
    EXPECT_EQ(table[72].wordIndex, 0);
    EXPECT_EQ(table.nthWord(2, Voice)->wordIndex, 24);
    EXPECT_EQ(table.nthWord(3, Voice), nullptr);
}

TEST(PitchTable, VoiceLeavesBlackKeysOut) {
    PitchTable table;
    testing::FakeTemplateStore recognizer;
    table.rebuildSelection(onlyPitches({61, 62}, Voice), recognizer);
    EXPECT_EQ(table[61].selected, 0);
    EXPECT_EQ(table[62].selected, 1);
    EXPECT_EQ(table.selectedCount(), 1);
}

TEST(PitchTable, InstrumentMakesEachPitchAWordAndRebuildClearsOldOnes) {
    PitchTable table;
    testing::FakeTemplateStore recognizer;
    table.rebuildSelection(onlyPitches({40, 61}, Instrument), recognizer);
    EXPECT_EQ(table.wordCount(), 2);
    EXPECT_EQ(table[61].wordIndex, 61);
    EXPECT_EQ(recognizer.candidates[61], 1);
    EXPECT_EQ(table.nthWord(1, Instrument)->pitch, 61);

    table.rebuildSelection(onlyPitches({62}, Synthesizer), recognizer);
    EXPECT_EQ(table.wordCount(), 0);
    EXPECT_EQ(table[61].selected, 0);
    EXPECT_EQ(table[61].wordActive, 0);
    EXPECT_EQ(recognizer.candidates[61], 0);
    EXPECT_EQ(table.nthSelected(0)->pitch, 62);
    EXPECT_EQ(table.nthSelected(1), nullptr);
}

TEST(PitchTable, AllRecordedNeedsTheWordOfEverySelectedPitch) {
    PitchTable table;
    testing::FakeTemplateStore recognizer;
    std::array<std::uint8_t, TemplateSlotCount> present{};
    present[0] = 1; // only the first recording of "DO"
    table.loadTemplateFlags(present);
    table.rebuildSelection(onlyPitches({60, 62}, Voice), recognizer);
    EXPECT_FALSE(table.allRecorded()); // RE (slot 2) has none
    table[2].hasTemplate = 1;
    EXPECT_TRUE(table.allRecorded());
    table.rebuildSelection(onlyPitches({}, Voice), recognizer);
    EXPECT_FALSE(table.allRecorded());
}

TEST(PitchTable, StaffYOnlyForPitchesOfTheRange) {
    PitchTable table;
    testing::FakeTemplateStore recognizer;
    table.rebuildSelection(onlyPitches({64}, Voice), recognizer);
    table.assignStaffY([](int pitch) { return 1000 + pitch; });
    EXPECT_EQ(table[4].staffY, 1064);  // word entry with the pitch of its note
    EXPECT_EQ(table[5].staffY, 0);     // never a word: no pitch of the range
    EXPECT_EQ(table[83].staffY, 1083); // by index
}

} // namespace
} // namespace tessimo
