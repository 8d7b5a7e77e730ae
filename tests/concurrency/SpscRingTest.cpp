#include "concurrency/SpscRing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace tessimo {
namespace {

struct Event {
    std::uint32_t sequence = 0;
    std::uint32_t check = 0; // a function of sequence: a torn or stale copy shows
    std::int64_t time = 0;
};

Event eventNumber(std::uint32_t n) {
    return {n, n * 2654435761u, static_cast<std::int64_t>(n) << 20};
}

bool intact(const Event& e, std::uint32_t n) {
    const Event want = eventNumber(n);
    return e.sequence == want.sequence && e.check == want.check && e.time == want.time;
}

constexpr std::size_t N = 16;
using SmallRing = SpscRing<std::int32_t, N>;

TEST(SpscRing, AFullRingRefusesAndCountsWithoutOverwriting) {
    SmallRing ring;
    EXPECT_FALSE(ring.hasPending());
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(N); ++i) {
        EXPECT_TRUE(ring.push(i));
    }
    EXPECT_FALSE(ring.push(100));
    EXPECT_FALSE(ring.push(101));
    EXPECT_EQ(ring.dropped(), 2u);
    EXPECT_EQ(ring.pushed(), N);
    EXPECT_TRUE(ring.hasPending());

    std::int32_t value = -1;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(N); ++i) {
        ASSERT_TRUE(ring.pop(value));
        EXPECT_EQ(value, i);
    }
    value = -7;
    EXPECT_FALSE(ring.pop(value));
    EXPECT_EQ(value, -7); // left alone when empty
    EXPECT_FALSE(ring.hasPending());
    // Room again after the consumer took everything.
    EXPECT_TRUE(ring.push(5));
    EXPECT_EQ(ring.dropped(), 2u);
}

// Writes and reads of 0, 1, N - 1, N and N + 1 values; each round moves the start by 5 slots,
// so that the writes begin at every offset of the ring and cross the wrap at every seam.
TEST(SpscRing, BulkWritesAndReadsAtTheSeamsKeepOrderAcrossTheWrap) {
    SmallRing ring;
    std::int32_t next = 0;     // next value to write
    std::int32_t expected = 0; // next value the reader must see
    std::uint64_t refused = 0;
    for (std::size_t offset = 0; offset < N; ++offset) {
        ASSERT_TRUE(ring.push(next)); // one value waits in the ring during each write
        ++next;
        for (std::size_t count : {std::size_t{0}, std::size_t{1}, N - 1, N, N + 1}) {
            std::vector<std::int32_t> in(count);
            for (auto& v : in) {
                v = next++;
            }
            const std::size_t waiting = static_cast<std::size_t>(next - expected) - count;
            const std::size_t room = N - waiting;
            const std::size_t wrote = ring.write(in.data(), in.size());
            EXPECT_EQ(wrote, std::min(count, room)) << "offset " << offset << " count " << count;
            refused += count - wrote;
            next -= static_cast<std::int32_t>(count - wrote); // refused values are not in

            // Read in two parts: a short read, then all the rest.
            std::vector<std::int32_t> out(N + 1, -1);
            const std::size_t first = ring.read(out.data(), 1);
            const std::size_t rest = ring.read(out.data() + first, out.size() - first);
            ASSERT_EQ(first + rest, static_cast<std::size_t>(next - expected));
            for (std::size_t i = 0; i < first + rest; ++i) {
                EXPECT_EQ(out[i], expected++);
            }
            EXPECT_EQ(ring.read(out.data(), out.size()), 0u);
            ASSERT_TRUE(ring.push(next)); // keeps one value waiting across the rounds
            ++next;
        }
        std::int32_t drained = 0;
        ring.drain([&](std::int32_t v) {
            EXPECT_EQ(v, expected++);
            ++drained;
        });
        EXPECT_EQ(drained, 1);
    }
    EXPECT_EQ(expected, next);
    EXPECT_EQ(ring.dropped(), refused);
    EXPECT_EQ(ring.pushed(), static_cast<std::uint64_t>(next));
}

TEST(SpscRing, DrainTakesOnlyWhatWasThereAndFreesEachSlotAsItGoes) {
    SmallRing ring;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(N); ++i) {
        ring.push(i);
    }
    std::vector<std::int32_t> seen;
    bool refusedWhileDraining = false;
    ring.drain([&](std::int32_t v) {
        seen.push_back(v);
        // The slot of v is handed back only after this returns; the one before it already was.
        if (!ring.push(100 + v)) {
            refusedWhileDraining = true;
        }
    });
    ASSERT_EQ(seen.size(), N); // nothing pushed during the drain was drained
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(N); ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
    }
    EXPECT_TRUE(refusedWhileDraining); // the first push found the ring still full
    std::vector<std::int32_t> after;
    ring.drain([&](std::int32_t v) { after.push_back(v); });
    EXPECT_EQ(after.size(), N - 1);
    EXPECT_EQ(after.front(), 101);
    EXPECT_EQ(after.back(), 100 + static_cast<std::int32_t>(N) - 1);
}

// One producer and one consumer thread: every value arrives once, intact and in order, while
// the ring is full or empty most of the time. Run under the thread sanitizer too.
TEST(SpscRingThreads, ValuesCrossThreadsIntactAndInOrder) {
    auto ring = std::make_unique<SpscRing<Event, 64>>();
    constexpr std::uint32_t Count = 300000;
    std::thread producer([&] {
        for (std::uint32_t n = 0; n < Count;) {
            if (ring->push(eventNumber(n))) {
                ++n;
            } else {
                std::this_thread::yield();
            }
        }
    });
    std::uint32_t expected = 0;
    std::uint32_t broken = 0;
    while (expected < Count) {
        // Both ways of taking values, in turn.
        Event e;
        if (expected % 2 == 0 && ring->pop(e)) {
            broken += intact(e, expected) ? 0 : 1;
            ++expected;
            continue;
        }
        ring->drain([&](const Event& d) {
            broken += intact(d, expected) ? 0 : 1;
            ++expected;
        });
        std::this_thread::yield();
    }
    producer.join();
    EXPECT_EQ(broken, 0u);
    EXPECT_EQ(expected, Count);
    EXPECT_FALSE(ring->hasPending());
    EXPECT_EQ(ring->pushed(), Count);
}

TEST(SpscRingThreads, BulkSamplesCrossThreadsInOrder) {
    auto ring = std::make_unique<SpscRing<std::int16_t, 1024>>();
    constexpr std::size_t Total = 1 << 21;
    std::thread producer([&] {
        std::vector<std::int16_t> block(300);
        std::size_t sent = 0;
        while (sent < Total) {
            const std::size_t n = std::min(block.size(), Total - sent);
            for (std::size_t i = 0; i < n; ++i) {
                block[i] = static_cast<std::int16_t>((sent + i) & 0x7fff);
            }
            std::size_t done = 0;
            while (done < n) {
                // What did not fit is written again once the reader made room.
                done += ring->write(block.data() + done, n - done);
                if (done < n) {
                    std::this_thread::yield();
                }
            }
            sent += n;
        }
    });
    std::vector<std::int16_t> out(700);
    std::size_t received = 0;
    std::size_t wrong = 0;
    while (received < Total) {
        const std::size_t n = ring->read(out.data(), out.size());
        for (std::size_t i = 0; i < n; ++i) {
            wrong += out[i] == static_cast<std::int16_t>((received + i) & 0x7fff) ? 0 : 1;
        }
        received += n;
        if (n == 0) {
            std::this_thread::yield();
        }
    }
    producer.join();
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(received, Total);
    EXPECT_EQ(ring->pushed(), Total);
}

} // namespace
} // namespace tessimo
