// The output callback's part of word playback allocates and frees nothing, whatever the
// user-interface thread asks between blocks.
#include "sound/WordPlayback.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {
std::atomic<long> allocations{0};
std::atomic<long> frees{0};
} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (p != nullptr)
        ++frees;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    if (p != nullptr)
        ++frees;
    std::free(p);
}

TEST(WordPlaybackCallback, AllocatesAndFreesNothing) {
    tessimo::WordPlayback words;
    std::vector<float> out(2 * 256);
    std::uint64_t frame = 0;
    long during = 0;
    long freedDuring = 0;
    auto block = [&] {
        const long a = allocations.load();
        const long f = frees.load();
        words.mixInto(out.data(), 256, 2, frame);
        (void)words.isActive();
        during += allocations.load() - a;
        freedDuring += frees.load() - f;
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
