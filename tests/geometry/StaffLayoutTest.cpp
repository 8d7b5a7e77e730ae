#include <gtest/gtest.h>

#include "geometry/KeyboardGeometry.h"
#include "geometry/StaffLayout.h"
#include "model/PitchTable.h"

namespace tessimo {
namespace {

PitchTable tableWith(std::initializer_list<int> pitches) {
    PitchTable table;
    for (int p : pitches) {
        table[p].selected = 1;
    }
    return table;
}

PitchTable tableWithRange(int from, int to) {
    PitchTable table;
    for (int p = from; p <= to; ++p) {
        table[p].selected = 1;
    }
    return table;
}

TEST(StaffLayout, TrebleOnlyForHighPitches) {
    StaffLayout layout;
    layout.compute(tableWithRange(60, 83));
    EXPECT_EQ(layout.trebleShown, 1);
    EXPECT_EQ(layout.bassShown, 0);
    EXPECT_EQ(layout.trebleOffset, 0);
    EXPECT_EQ(layout.pitchY(60), 1402);
    EXPECT_EQ(layout.pitchY(64), 1268);
    EXPECT_EQ(layout.pitchY(77), 732);
    EXPECT_EQ(layout.pitchY(83), 531);
    EXPECT_EQ(layout.pitchY(61), layout.pitchY(60)); // a sharp shares its natural's place
}

TEST(StaffLayout, BothStavesAroundMiddleC) {
    StaffLayout layout;
    layout.compute(tableWith({57, 70}));
    EXPECT_EQ(layout.trebleShown, 1);
    EXPECT_EQ(layout.bassShown, 1);
    EXPECT_EQ(layout.trebleOffset, -402);
    EXPECT_EQ(layout.bassOffset, 402);
    EXPECT_EQ(layout.pitchY(36), 1938);
    EXPECT_EQ(layout.pitchY(43), 1670);
    EXPECT_EQ(layout.pitchY(60), 1000);
    EXPECT_EQ(layout.pitchY(83), 129);
    EXPECT_EQ(staffLineY(layout.trebleOffset, 0), 330);
    EXPECT_EQ(staffLineY(layout.bassOffset, 4), 1670);
}

TEST(StaffLayout, BassOnlyAndUndecidingMiddlePitches) {
    StaffLayout layout;
    layout.trebleOffset = -402;
    layout.compute(tableWithRange(36, 63));
    EXPECT_EQ(layout.trebleShown, 0);
    EXPECT_EQ(layout.bassShown, 1);
    EXPECT_EQ(layout.bassOffset, 0);
    EXPECT_EQ(layout.trebleOffset, -402); // not shown: keeps its old value
    EXPECT_EQ(layout.pitchY(57), 732);
    EXPECT_EQ(layout.pitchY(43), 1268);
    EXPECT_EQ(layout.pitchY(60), 598);

    layout.compute(tableWithRange(58, 63));
    EXPECT_EQ(layout.trebleShown, 1);
    EXPECT_EQ(layout.bassShown, 0);
    EXPECT_EQ(layout.staffBaseY, 2340);

    layout.compute(PitchTable{}); // nothing selected: treble
    EXPECT_EQ(layout.trebleShown, 1);
}

TEST(KeyboardGeometry, KeysTileTheKeyboard) {
    EXPECT_EQ(KeyboardWidth, 1988);
    EXPECT_EQ(FirstBlackKeyLeft, 53);
    EXPECT_EQ(whiteKeyPitch(0), 36);
    EXPECT_EQ(whiteKeyPitch(27), 83);
    EXPECT_EQ(whiteKeyRect(27).right, 1994);
    // Black key left edges within the first octave: 47, 118, 260, 331, 402 from the left edge.
    const int expected[] = {47, 118, 260, 331, 402};
    int k = 0;
    for (int w = 0; w < 7; ++w) {
        if (hasBlackKeyAfter(w)) {
            EXPECT_EQ(blackKeyRect(w).left - KeyboardLeft, expected[k++]);
        }
    }
    EXPECT_EQ(k, 5);
    EXPECT_EQ(keyRect(37).left, blackKeyRect(0).left);
    EXPECT_EQ(keyRect(61).left, blackKeyRect(14).left);
    EXPECT_EQ(keyRect(62).left, whiteKeyRect(15).left);
    EXPECT_EQ(keyRect(82).right, blackKeyRect(26).right);
}

} // namespace
} // namespace tessimo
