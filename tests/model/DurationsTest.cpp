#include <gtest/gtest.h>

#include <algorithm>

#include "model/Durations.h"

namespace tessimo {
namespace {

TEST(Durations, DottedValuesAreOneAndAHalfTheirUndottedValue) {
    // Even codes 0..10 are dotted, the next code is the same value undotted.
    for (int code = 0; code <= 10; code += 2) {
        EXPECT_EQ(DurationTable[code] * 2, DurationTable[code + 1] * 3) << code;
    }
    // Each undotted value halves the one before it, down to the sixty-fourth.
    for (int code = 3; code <= 13; code += 2) {
        EXPECT_EQ(DurationTable[code - 2], DurationTable[code] * 2) << code;
    }
    EXPECT_EQ(DurationTable[12], 1); // the dotted sixty-fourth rounds down
    EXPECT_EQ(DurationTable[QuarterCode], 16);
    EXPECT_TRUE(std::is_sorted(DurationTable.rbegin(), DurationTable.rend()));
}

TEST(Durations, EveryBeatIsANoteValue) {
    for (int beat : BeatTable) {
        EXPECT_NE(std::find(DurationTable.begin(), DurationTable.end(), beat), DurationTable.end())
            << beat;
    }
    EXPECT_EQ(BeatTable[4], 32); // the default beat is a half note
    EXPECT_TRUE(std::is_sorted(BeatTable.begin(), BeatTable.end()));
}

} // namespace
} // namespace tessimo
