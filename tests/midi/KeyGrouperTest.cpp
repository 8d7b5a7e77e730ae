// Grouping key presses into answers, on a fake clock: the times are the arguments.
#include "midi/KeyGrouper.h"

#include <gtest/gtest.h>

namespace tessimo {
namespace {

MidiKeyEvent press(std::uint8_t key) {
    return {KeyAction::Press, key, 100, 0, 0};
}
MidiKeyEvent release(std::uint8_t key) {
    return {KeyAction::Release, key, 0, 0, 0};
}

using Keys = std::vector<std::uint8_t>;

TEST(KeyGrouper, SingleKeysAnswerAtEveryPressWithTheirOctave) {
    KeyGrouper grouper(AnswerShape::SingleKey);
    EXPECT_EQ(grouper.feed(press(60), 0), (KeyAnswer{{60}, 0}));
    // Legato: the next key goes down before the previous one is up; still its own answer.
    EXPECT_EQ(grouper.feed(press(72), 10), (KeyAnswer{{72}, 10}));
    EXPECT_EQ(grouper.feed(release(60), 20), std::nullopt);
    EXPECT_EQ(grouper.poll(1000), std::nullopt);
    EXPECT_EQ(grouper.heldCount(), 1u);
}

TEST(KeyGrouper, KeysWithinTheWindowFormOneGroupCompletedWhenTheWindowCloses) {
    KeyGrouper grouper(AnswerShape::KeyGroup);
    EXPECT_EQ(grouper.feed(press(64), 1000), std::nullopt);
    EXPECT_EQ(grouper.feed(press(60), 1020), std::nullopt);
    EXPECT_EQ(grouper.feed(press(67), 1000 + GroupWindowMs), std::nullopt); // on the edge: in
    EXPECT_EQ(grouper.poll(1000 + GroupWindowMs), std::nullopt);
    EXPECT_TRUE(grouper.collecting());
    const auto answer = grouper.poll(1000 + GroupWindowMs + 1);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->keys, (Keys{64, 60, 67})); // press order, exact keys
    EXPECT_EQ(answer->firstPressMs, 1000);
    EXPECT_EQ(grouper.poll(5000), std::nullopt); // completed once only
}

TEST(KeyGrouper, ALateKeyWhileTheChordIsHeldIsNoNewAnswer) {
    KeyGrouper grouper(AnswerShape::KeyGroup);
    grouper.feed(press(60), 0);
    grouper.feed(press(64), 5);
    ASSERT_TRUE(grouper.poll(100));
    EXPECT_EQ(grouper.feed(press(67), 200), std::nullopt); // chord still down
    EXPECT_EQ(grouper.poll(400), std::nullopt);
    grouper.feed(release(60), 500);
    grouper.feed(release(67), 510);
    EXPECT_EQ(grouper.poll(900), std::nullopt); // 64 still down
    grouper.feed(release(64), 1000);
    // Everything is up: the next press opens a new group.
    grouper.feed(press(62), 1100);
    const auto next = grouper.poll(1100 + GroupWindowMs + 1);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->keys, (Keys{62}));
}

TEST(KeyGrouper, APressAfterTheWindowCompletesTheGroupEvenWithoutATick) {
    KeyGrouper grouper(AnswerShape::KeyGroup);
    grouper.feed(press(48), 0);
    grouper.feed(release(48), 30); // struck and let go within the window
    // No tick came in between; the next press, after the window, completes the first group
    // and, since nothing is held, opens the next one.
    const auto first = grouper.feed(press(55), 300);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->keys, (Keys{48}));
    EXPECT_TRUE(grouper.collecting());
    const auto second = grouper.poll(400);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->keys, (Keys{55}));
}

TEST(KeyGrouper, RepeatedPressesOfOneKeyInTheWindowCountOnce) {
    KeyGrouper grouper(AnswerShape::KeyGroup);
    grouper.feed(press(60), 0);
    grouper.feed(release(60), 10);
    grouper.feed(press(60), 20);
    grouper.feed(press(60), 25); // a doubled note-on from a noisy device
    const auto answer = grouper.poll(GroupWindowMs + 1);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->keys, (Keys{60}));
}

TEST(KeyGrouper, ReleaseAllUnblocksAfterAKeyboardVanishedWithKeysDown) {
    KeyGrouper grouper(AnswerShape::KeyGroup);
    grouper.feed(press(60), 0);
    ASSERT_TRUE(grouper.poll(100));
    grouper.feed(press(62), 200);               // held: waits for all keys up
    EXPECT_EQ(grouper.poll(400), std::nullopt); // releases will never come
    grouper.releaseAll();
    EXPECT_EQ(grouper.heldCount(), 0u);
    grouper.feed(press(65), 500);
    EXPECT_EQ(grouper.poll(600), (KeyAnswer{{65}, 500}));
}

TEST(KeyGrouper, ResetChangesTheShapeAndDropsAnOpenGroup) {
    KeyGrouper grouper(AnswerShape::KeyGroup);
    grouper.feed(press(60), 0);
    grouper.reset(AnswerShape::SingleKey);
    EXPECT_FALSE(grouper.collecting());
    EXPECT_EQ(grouper.poll(1000), std::nullopt);
    EXPECT_EQ(grouper.feed(press(61), 1000), (KeyAnswer{{61}, 1000}));
}

} // namespace
} // namespace tessimo
