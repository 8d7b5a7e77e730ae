#include <gtest/gtest.h>

#include "model/Pitch.h"

namespace tessimo {
namespace {

TEST(Pitch, StepsAtTheEdgesAndAroundMiddleC) {
    EXPECT_EQ(diatonicStep(36), 0);
    EXPECT_EQ(diatonicStep(60), 14);
    EXPECT_EQ(diatonicStep(61), 14); // a sharp shares the line of its natural
    EXPECT_EQ(diatonicStep(83), 27);
    EXPECT_EQ(octaveIndex(36), 0);
    EXPECT_EQ(octaveIndex(83), 3);
}

TEST(Pitch, TwentyBlackKeysInTheRange) {
    const int expected[] = {1,  3,  6,  8,  10, 13, 15, 18, 20, 22,
                            25, 27, 30, 32, 34, 37, 39, 42, 44, 46};
    int found = 0;
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        if (isBlackKey(p)) {
            ASSERT_LT(found, 20);
            EXPECT_EQ(p - 36, expected[found]);
            ++found;
        }
    }
    EXPECT_EQ(found, 20);
}

TEST(Pitch, StepsRiseByOneBetweenConsecutiveNaturals) {
    int previous = -1;
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        if (!isBlackKey(p)) {
            EXPECT_EQ(diatonicStep(p), previous + 1) << "pitch " << p;
            previous = diatonicStep(p);
        }
    }
}

} // namespace
} // namespace tessimo
