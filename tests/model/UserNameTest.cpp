#include <gtest/gtest.h>

#include <string>

#include "model/UserName.h"

namespace tessimo {
namespace {

TEST(UserNameTest, OrdinaryNamesPass) {
    for (const std::string name : {"", "alto", "Tenor 2", "soprano-1_b", "Élise", "名前", "a.b",
                                   "...", ".hidden", "config"}) {
        EXPECT_EQ(checkUserName(name), UserNameProblem::None) << name;
    }
}

TEST(UserNameTest, NamesThatWouldLeaveTheFolderOrNameAFolderAreRefused) {
    EXPECT_EQ(checkUserName("../evil"), UserNameProblem::PathSeparator);
    EXPECT_EQ(checkUserName("a/b"), UserNameProblem::PathSeparator);
    EXPECT_EQ(checkUserName("a\\b"), UserNameProblem::PathSeparator);
    EXPECT_EQ(checkUserName("/"), UserNameProblem::PathSeparator);
    EXPECT_EQ(checkUserName("."), UserNameProblem::DotName);
    EXPECT_EQ(checkUserName(".."), UserNameProblem::DotName);
}

TEST(UserNameTest, ControlCharactersAreRefusedWhereverTheyStand) {
    EXPECT_EQ(checkUserName(std::string("a\0b", 3)), UserNameProblem::ControlCharacter);
    EXPECT_EQ(checkUserName(std::string(1, '\0')), UserNameProblem::ControlCharacter);
    EXPECT_EQ(checkUserName("tab\there"), UserNameProblem::ControlCharacter);
    EXPECT_EQ(checkUserName("line\n"), UserNameProblem::ControlCharacter);
    EXPECT_EQ(checkUserName("\x1b[31m"), UserNameProblem::ControlCharacter);
    EXPECT_EQ(checkUserName("del\x7f"), UserNameProblem::ControlCharacter);
    EXPECT_EQ(checkUserName("c1\xc2\x85"), UserNameProblem::ControlCharacter); // U+0085
    EXPECT_EQ(checkUserName("nbsp\xc2\xa0"), UserNameProblem::None);           // U+00A0 is text
}

TEST(UserNameTest, LengthLimitIsInclusive) {
    EXPECT_EQ(checkUserName(std::string(MaxUserNameLength, 'a')), UserNameProblem::None);
    EXPECT_EQ(checkUserName(std::string(MaxUserNameLength + 1, 'a')), UserNameProblem::TooLong);
}

TEST(UserNameTest, MalformedUtf8IsRefused) {
    EXPECT_EQ(checkUserName("\xff"), UserNameProblem::NotText);
    EXPECT_EQ(checkUserName("a\xc3"), UserNameProblem::NotText);            // cut short
    EXPECT_EQ(checkUserName("\xc0\xaf"), UserNameProblem::NotText);         // overlong "/"
    EXPECT_EQ(checkUserName("\xed\xa0\x80"), UserNameProblem::NotText);     // surrogate
    EXPECT_EQ(checkUserName("\xf4\x90\x80\x80"), UserNameProblem::NotText); // past U+10FFFF
    EXPECT_EQ(checkUserName("\xf0\x9f\x8e\xb5"), UserNameProblem::None);    // a musical note
}

TEST(UserNameTest, NamesThatLookLikeAnotherNameAreRefused) {
    // Only spaces, of any width, look like no name at all.
    for (const std::string name : {" ", "   ", "\xc2\xa0", " \xe3\x80\x80 ", "\xe2\x80\x83"}) {
        EXPECT_EQ(checkUserName(name), UserNameProblem::OnlySpaces) << name;
    }
    // Zero-width characters and direction controls hide or reorder what is shown.
    for (const std::string name : {"al\xe2\x80\x8bto", // zero-width space
                                   "alto\xe2\x80\x8d", // zero-width joiner
                                   "\xef\xbb\xbf"
                                   "alto", // byte-order mark
                                   "a\xc2\xad"
                                   "lto",               // soft hyphen
                                   "\xe2\x80\xaeotla",  // right-to-left override
                                   "alto\xe2\x81\xa6x", // left-to-right isolate
                                   "\xe2\x80\x8f"
                                   "alto"}) // right-to-left mark
    {
        EXPECT_EQ(checkUserName(name), UserNameProblem::Invisible) << name;
        EXPECT_GT(std::string(describeUserNameProblem(UserNameProblem::Invisible)).size(), 10u);
    }
    // Spaces between other characters, and right-to-left letters themselves, are text.
    for (const std::string name : {"Anna Maria", " alto", "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d"}) {
        EXPECT_EQ(checkUserName(name), UserNameProblem::None) << name;
    }
}

} // namespace
} // namespace tessimo
