#include <gtest/gtest.h>

#include "geometry/PitchAt.h"
#include "model/Pitch.h"
#include "model/PitchTable.h"

namespace tessimo {
namespace {

// A client area of exactly the logical size: device points are logical points.
constexpr ClientSize Identity{2000, 3200};

class PitchAtTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int p = 60; p <= 83; ++p) {
            table[p].selected = 1;
        }
        layout.compute(table);
    }
    int at(int x, int y) const { return pitchAtLogical({x, y}, layout); }

    PitchTable table;
    StaffLayout layout;
};

TEST_F(PitchAtTest, StaffBandsAroundNoteCentres) {
    const int c = layout.pitchY(60);
    EXPECT_EQ(at(1000, c), 60);
    EXPECT_EQ(at(1000, c - 33), 60);
    EXPECT_EQ(at(1000, c - 34), 61); // upper half of the step: the sharp
    EXPECT_EQ(at(1000, c + 1), 59);  // below the centre: the step below
    const int e = layout.pitchY(64);
    EXPECT_EQ(at(1000, e - 34), 64); // no E sharp
    const int b = layout.pitchY(71);
    EXPECT_EQ(at(1000, b - 60), 71); // no B sharp
    EXPECT_EQ(at(1000, layout.pitchY(83)), 83);
}

TEST_F(PitchAtTest, StaffOutsideTheRangeIsNoPitch) {
    EXPECT_EQ(at(1000, 0), NoPitch); // above 83
    EXPECT_EQ(at(1000, 1999), 45);   // ledger lines below the treble staff reach down
    StaffLayout bass;
    bass.compute(PitchTable{}); // treble only
    bass.staffBaseY = BassOnlyBaseY;
    EXPECT_EQ(pitchAtLogical({1000, 1537}, bass), NoPitch); // below pitch 36
    EXPECT_EQ(pitchAtLogical({1000, 1536}, bass), 36);
}

TEST_F(PitchAtTest, KeyboardBands) {
    EXPECT_EQ(at(60, 2300), 37); // black band
    EXPECT_EQ(at(60, 2800), 36); // white band
    EXPECT_EQ(at(5, 2300), NoPitch);
    EXPECT_EQ(at(5, 2800), NoPitch);
    EXPECT_EQ(at(100, 2300), 37); // r = 47 < 49
    EXPECT_EQ(at(102, 2300), 38); // r = 49
    EXPECT_EQ(at(53, 2300), 36);  // r = 0 is white
    EXPECT_EQ(at(54, 2300), 37);
    EXPECT_EQ(at(1993, 2800), 83);
    EXPECT_EQ(at(1994, 2800), NoPitch);
    EXPECT_EQ(at(1994, 2300), NoPitch);
    EXPECT_EQ(at(6, 2000), 36);
    // E to F: no black key between them (s = 2).
    EXPECT_EQ(at(6 + 213 - 5, 2300), 40);
    EXPECT_EQ(at(6 + 497 + 47 + 1, 2300), 49); // C sharp of the second octave
}

TEST_F(PitchAtTest, BlackBandEndsAtItsExactBoundary) {
    EXPECT_EQ(at(60, 2705), 37);
    EXPECT_EQ(at(60, 2706), 36);
}

TEST_F(PitchAtTest, DevicePointsAreScaledAndSelectionIsChecked) {
    const ClientSize half{1000, 1600};
    EXPECT_EQ(pitchAt({30, 1150}, half, layout, table, false), 37);
    EXPECT_EQ(pitchAt({30, 1150}, half, layout, table, true), NoPitch); // 37 not selected
    EXPECT_EQ(pitchAt({500, layout.pitchY(60) / 2}, half, layout, table, true), 60);
    EXPECT_EQ(pitchAt({60, 2800}, Identity, layout, table, false), 36);
    EXPECT_EQ(pitchAt({60, 2800}, ClientSize{0, 0}, layout, table, false), NoPitch);
}

} // namespace
} // namespace tessimo
