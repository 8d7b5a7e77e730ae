#include <gtest/gtest.h>

#include "model/CNotesList.h"

namespace tessimo {
namespace {

CNote note(int pitch, int group = 0, bool answered = false) {
    CNote n;
    n.pitch = static_cast<std::uint8_t>(pitch);
    n.groupIndex = static_cast<std::uint8_t>(group);
    n.answered = answered ? 1 : 0;
    return n;
}

TEST(CNotesList, AppendResetsAnsweredAndSetsX) {
    CNotesList list;
    list.appendAt(note(60, 0, true), 500);
    list.appendAtEntry(note(62));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].x, 500);
    EXPECT_EQ(list[0].answered, 0);
    EXPECT_EQ(list[1].x, 1960);
}

TEST(CNotesList, AdvanceOnEmptyListDoesNothing) {
    CNotesList list;
    bool any = true;
    EXPECT_FALSE(list.advance(10, 200, &any));
    EXPECT_FALSE(any);
    EXPECT_TRUE(list.empty());
}

TEST(CNotesList, AdvanceScrollsAndDropsBelowBound) {
    CNotesList list;
    list.appendAt(note(60), 205);
    list.appendAt(note(62), 400);
    EXPECT_FALSE(list.advance(5, 200)); // 200 is not below the bound
    EXPECT_EQ(list[0].x, 200);
    bool any = false;
    EXPECT_TRUE(list.advance(1, 200, &any));
    EXPECT_TRUE(any);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].pitch, 62);
    EXPECT_EQ(list[0].x, 394);
}

TEST(CNotesList, AdvanceDropsWholeGroupAndCountsOnce) {
    CNotesList list;
    list.appendAt(note(60, 0), 210);
    list.appendAt(note(64, 1), 290); // later members still right of the bound
    list.appendAt(note(67, 2), 370);
    list.appendAt(note(70, 0), 199); // next group, already past the bound: goes too
    list.appendAt(note(72, 0), 900);
    EXPECT_TRUE(list.advance(20, 200));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].pitch, 72);
}

TEST(CNotesList, AnsweredNoteLeavingIsNotCounted) {
    CNotesList list;
    list.appendAt(note(60), 201);
    list.front().answered = 1;
    bool any = false;
    EXPECT_FALSE(list.advance(2, 200, &any));
    EXPECT_TRUE(any);
    EXPECT_TRUE(list.empty());
}

TEST(CNotesList, MarkFirstGroupAnsweredStopsAtNextGroup) {
    CNotesList list;
    list.appendAt(note(50), 300);
    list.front().answered = 1;
    list.appendAt(note(60, 0), 400);
    list.appendAt(note(64, 1), 480);
    list.appendAt(note(67, 0), 560);
    list.markFirstGroupAnswered();
    EXPECT_EQ(list[1].answered, 1);
    EXPECT_EQ(list[2].answered, 1);
    EXPECT_EQ(list[3].answered, 0);
    list.markFirstGroupAnswered();
    EXPECT_EQ(list[3].answered, 1);
    list.markFirstGroupAnswered(); // nothing left: no effect
    EXPECT_EQ(list.firstUnanswered(), nullptr);
}

TEST(CNotesList, CopiesReplaceDestinationAndKeepX) {
    CNotesList source;
    source.appendAt(note(48), 300);
    source.front().answered = 1;
    source.appendAt(note(60, 0), 400);
    source.appendAt(note(64, 1), 400);
    source.appendAt(note(67, 0), 700);
    source[1].answered = 0;

    CNotesList destination;
    destination.appendAt(note(80), 1000);
    source.copyFirstGroupTo(destination);
    ASSERT_EQ(destination.size(), 2u);
    EXPECT_EQ(destination[0].pitch, 60);
    EXPECT_EQ(destination[1].pitch, 64);
    EXPECT_EQ(destination[1].x, 400);

    source.copyAllTo(destination);
    ASSERT_EQ(destination.size(), 4u);
    EXPECT_EQ(destination[0].answered, 0); // a copied answered note is unanswered
    EXPECT_EQ(destination[0].x, 300);

    CNotesList allAnswered;
    allAnswered.appendAt(note(60), 500);
    allAnswered.front().answered = 1;
    allAnswered.copyFirstGroupTo(destination);
    EXPECT_TRUE(destination.empty());
}

TEST(CNote, NameFollowsConvention) {
    const CNote n = note(70);
    EXPECT_STREQ(n.name(Solfege), "LA#");
    EXPECT_STREQ(n.name(German), "a is");
}

} // namespace
} // namespace tessimo
