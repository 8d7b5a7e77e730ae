#include <gtest/gtest.h>

#include <cstring>

#include "model/Pitch.h"
#include "model/ScaleTable.h"

namespace tessimo {
namespace {

TEST(ScaleTable, NamesKeepTheirInnerSpaces) {
    EXPECT_STREQ(scaleName(8, Solfege), "SOL#Maj");
    EXPECT_STREQ(scaleName(2, German), "d    Maj");
    EXPECT_STREQ(scaleName(0, Letter), "C Maj");
    EXPECT_STREQ(scaleName(24, Solfege), "Chromatique");
    for (int row = 1; row < 24; ++row) {
        if (row == 12) {
            continue;
        }
        EXPECT_EQ(std::strlen(scaleName(row, Solfege)), 7u) << row;
        EXPECT_EQ(std::strlen(scaleName(row, Letter)), 6u) << row;
        EXPECT_EQ(std::strlen(scaleName(row, German)), 8u) << row;
    }
}

TEST(ScaleTable, EveryMajorAndHarmonicMinorHasSevenNotesOnItsTonic) {
    for (int row = 0; row < 24; ++row) {
        int count = 0;
        for (auto f : ScaleTable[row].flags) {
            count += f;
        }
        EXPECT_EQ(count, 7) << row;
        EXPECT_TRUE(isInScale(row, row % 12)) << row;
        // major has the major third, harmonic minor the minor third and the raised seventh
        const int tonic = row % 12;
        if (row < 12) {
            EXPECT_TRUE(isInScale(row, tonic + 4)) << row;
        } else {
            EXPECT_TRUE(isInScale(row, tonic + 3)) << row;
            EXPECT_TRUE(isInScale(row, tonic + 11)) << row;
            EXPECT_FALSE(isInScale(row, tonic + 10)) << row;
        }
    }
}

TEST(ScaleTable, PreselectionTouchesOnlyEnabledBoxes) {
    std::array<std::int32_t, 48> notes{};
    std::array<bool, 48> enabled{};
    enabled.fill(true);
    preselectFromScale(24, notes, enabled);
    for (auto n : notes) {
        EXPECT_EQ(n, 1);
    }
    enabled[1] = false; // a disabled C sharp keeps its state
    preselectFromScale(0, notes, enabled);
    int selected = 0;
    for (auto n : notes) {
        selected += n;
    }
    EXPECT_EQ(selected, 28 + 1);
    EXPECT_EQ(notes[1], 1);
    EXPECT_FALSE(isInScale(21, 67)); // A harmonic minor: G sharp, not G
    EXPECT_TRUE(isInScale(21, 68));
}

} // namespace
} // namespace tessimo
