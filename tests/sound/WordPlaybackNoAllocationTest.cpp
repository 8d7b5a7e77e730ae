// The output callback's part of word playback allocates and frees nothing, whatever the
// user-interface thread asks between blocks.
#include "sound/WordPlayback.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/CountingAllocator.h"

TEST(WordPlaybackCallback, AllocatesAndFreesNothing) {
    tessimo::WordPlayback words;
    std::vector<float> out(2 * 256);
    std::uint64_t frame = 0;
    long during = 0;
    long freedDuring = 0;
    auto block = [&] {
        const long a = tessimo::test::allocationCount();
        const long f = tessimo::test::freeCount();
        words.mixInto(out.data(), 256, 2, frame);
        (void)words.isActive();
        during += tessimo::test::allocationCount() - a;
        freedDuring += tessimo::test::freeCount() - f;
        frame += 256;
    };
    for (int round = 0; round < 50; ++round) {
        words.playConverted(std::vector<float>(300 + round * 17, 0.1f));
        block();
        if (round % 3 == 0)
            words.playConverted(std::vector<float>(1000, 0.2f)); // cuts the first off
        block();
        block();
        if (round % 5 == 0)
            words.stop();
        block();
        words.reclaim();
    }
    EXPECT_EQ(during, 0);
    EXPECT_EQ(freedDuring, 0);
}
