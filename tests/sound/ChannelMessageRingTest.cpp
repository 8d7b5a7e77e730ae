#include "sound/ChannelMessageRing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

using namespace tessimo;

namespace {

constexpr std::size_t N = ChannelMessageRing::Capacity;

TEST(ChannelMessageRing, BatchesAroundTheCapacityArriveInOrderAcrossTheWrap) {
    ChannelMessageRing ring;
    PackedMidiMessage next = 1;     // next value to push
    PackedMidiMessage expected = 1; // next value the consumer must see
    // Each round pushes one batch and drains it; the rounds move the indices past the wrap
    // several times at different offsets.
    for (int round = 0; round < 3; ++round) {
        for (std::size_t batch : {std::size_t{0}, std::size_t{1}, N - 1, N, N + 1}) {
            std::size_t accepted = 0;
            for (std::size_t i = 0; i < batch; ++i) {
                if (ring.push(next)) {
                    ++next;
                    ++accepted;
                }
            }
            EXPECT_EQ(accepted, std::min(batch, N)) << "batch " << batch;
            std::size_t seen = 0;
            ring.drain([&](PackedMidiMessage m) {
                EXPECT_EQ(m, expected);
                ++expected;
                ++seen;
            });
            EXPECT_EQ(seen, accepted);
        }
    }
    EXPECT_EQ(expected, next);
}

TEST(ChannelMessageRing, DrainSeesOnlyWhatWasPushedBefore) {
    ChannelMessageRing ring;
    ring.push(7);
    std::vector<PackedMidiMessage> seen;
    ring.drain([&](PackedMidiMessage m) {
        seen.push_back(m);
        ring.push(m + 1); // pushed while draining: left for the next drain
    });
    EXPECT_EQ(seen, std::vector<PackedMidiMessage>{7});
    ring.drain([&](PackedMidiMessage m) { seen.push_back(m); });
    EXPECT_EQ(seen, (std::vector<PackedMidiMessage>{7, 8}));
}

TEST(ChannelMessageRing, ProducerAndConsumerThreadsKeepTheOrder) {
    ChannelMessageRing ring;
    constexpr PackedMidiMessage Count = 200000;
    std::thread producer([&] {
        for (PackedMidiMessage m = 1; m <= Count;) {
            if (ring.push(m))
                ++m;
            else
                std::this_thread::yield();
        }
    });
    PackedMidiMessage expected = 1;
    bool inOrder = true;
    while (expected <= Count) {
        ring.drain([&](PackedMidiMessage m) {
            inOrder = inOrder && m == expected;
            ++expected;
        });
        std::this_thread::yield();
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, Count + 1);
}

} // namespace
