#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/ChordTable.h"

namespace tessimo {
namespace {

// Each row's count and span must agree with its half-tone flags: the engine uses the span to
// keep a chord inside the range and the count to size answers.
TEST(ChordTable, CountAndSpanAgreeWithTheFlags) {
    std::set<std::string> names;
    for (int slot = 0; slot < ChordTypeCount; ++slot) {
        const ChordRow& row = ChordTable[slot];
        int count = 0;
        int highest = -1;
        for (int h = 0; h < 24; ++h) {
            ASSERT_LE(row.halfTones[h], 1) << slot;
            if (row.halfTones[h]) {
                ++count;
                highest = h;
            }
        }
        EXPECT_EQ(row.halfTones[0], 1) << "root of slot " << slot;
        EXPECT_EQ(row.noteCount, count) << slot;
        EXPECT_EQ(row.span, highest) << slot;
        names.insert(row.name);
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(ChordTypeCount));
}

TEST(ChordTable, TriadsAndSeventhsHaveTheirCharacteristicIntervals) {
    // major third in M, minor third in m, diminished fifth in M5b, augmented fifth in M5+
    EXPECT_TRUE(ChordTable[0].halfTones[4] && ChordTable[0].halfTones[7]);
    EXPECT_TRUE(ChordTable[1].halfTones[3] && ChordTable[1].halfTones[7]);
    EXPECT_TRUE(ChordTable[2].halfTones[3] && ChordTable[2].halfTones[6]);
    EXPECT_TRUE(ChordTable[3].halfTones[4] && ChordTable[3].halfTones[8]);
    EXPECT_STREQ(ChordTable[5].name, "7M");
    EXPECT_TRUE(ChordTable[5].halfTones[11]); // major seventh
    EXPECT_TRUE(ChordTable[6].halfTones[10]); // minor seventh
    EXPECT_STREQ(ChordTable[9].name, "dim7");
    EXPECT_TRUE(ChordTable[9].halfTones[9]); // diminished seventh
    EXPECT_EQ(ChordSlotCount, 20);
}

} // namespace
} // namespace tessimo
