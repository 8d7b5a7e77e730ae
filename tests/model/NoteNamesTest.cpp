#include <gtest/gtest.h>

#include <string>

#include "model/NoteNames.h"

namespace tessimo {
namespace {

TEST(NoteNames, EdgesOfTheRangeInEveryConvention) {
    EXPECT_STREQ(noteName(36, Solfege), "DO");
    EXPECT_STREQ(noteName(36, Letter), "C");
    EXPECT_STREQ(noteName(36, German), "c");
    EXPECT_STREQ(noteName(83, Solfege), "SI");
    EXPECT_STREQ(noteName(83, Letter), "B");
    EXPECT_STREQ(noteName(83, German), "h");
    EXPECT_STREQ(noteName(61, German), "c is");
}

TEST(NoteNames, GermanHasNoB) {
    EXPECT_STREQ(noteName(70, German), "a is");
    EXPECT_STREQ(noteName(71, German), "h");
    for (int pc = 0; pc < 12; ++pc) {
        EXPECT_EQ(std::string(NoteNameTable[German][pc]).find('b'), std::string::npos);
    }
}

TEST(NoteNames, SharpSignFollowsConvention) {
    EXPECT_STREQ(sharpSign(Solfege), "#");
    EXPECT_STREQ(sharpSign(Letter), "#");
    EXPECT_STREQ(sharpSign(German), "is");
}

} // namespace
} // namespace tessimo
