#include "sound/ChannelMessageRing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

using namespace tessimo;

namespace {

constexpr std::size_t N = ChannelMessageRing::Capacity;

// Requests told apart by a number of up to 24 bits, carried in their three data fields.
using Number = std::uint32_t;

SynthRequest numbered(Number n) {
    return {SynthRequest::Kind::NoteOn, static_cast<std::uint8_t>(n >> 16),
            static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
}

Number numberOf(const SynthRequest& r) {
    return Number{r.channel} << 16 | Number{r.key} << 8 | Number{r.velocity};
}

TEST(ChannelMessageRing, BatchesAroundTheCapacityArriveInOrderAcrossTheWrap) {
    ChannelMessageRing ring;
    Number next = 1;     // next value to push
    Number expected = 1; // next value the consumer must see
    // Each round pushes one batch and drains it; the rounds move the indices past the wrap
    // several times at different offsets.
    for (int round = 0; round < 3; ++round) {
        for (std::size_t batch : {std::size_t{0}, std::size_t{1}, N - 1, N, N + 1}) {
            std::size_t accepted = 0;
            for (std::size_t i = 0; i < batch; ++i) {
                if (ring.push(numbered(next))) {
                    ++next;
                    ++accepted;
                }
            }
            EXPECT_EQ(accepted, std::min(batch, N)) << "batch " << batch;
            std::size_t seen = 0;
            ring.drain([&](const SynthRequest& r) {
                EXPECT_EQ(numberOf(r), expected);
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
    ring.push(numbered(7));
    std::vector<Number> seen;
    ring.drain([&](const SynthRequest& r) {
        seen.push_back(numberOf(r));
        ring.push(numbered(numberOf(r) + 1)); // pushed while draining: left for the next drain
    });
    EXPECT_EQ(seen, std::vector<Number>{7});
    ring.drain([&](const SynthRequest& r) { seen.push_back(numberOf(r)); });
    EXPECT_EQ(seen, (std::vector<Number>{7, 8}));
}

TEST(ChannelMessageRing, ProducerAndConsumerThreadsKeepTheOrder) {
    ChannelMessageRing ring;
    constexpr Number Count = 200000;
    std::thread producer([&] {
        for (Number m = 1; m <= Count;) {
            if (ring.push(numbered(m)))
                ++m;
            else
                std::this_thread::yield();
        }
    });
    Number expected = 1;
    bool inOrder = true;
    while (expected <= Count) {
        ring.drain([&](const SynthRequest& r) {
            inOrder = inOrder && numberOf(r) == expected;
            ++expected;
        });
        std::this_thread::yield();
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, Count + 1);
}

} // namespace
