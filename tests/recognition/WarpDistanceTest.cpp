#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "recognition/FrameAnalysis.h"
#include "recognition/WarpDistance.h"
#include "recognition/WordMatching.h"

namespace tessimo {
namespace {

// Frames whose value 0 is given and the others 0, so that neighbouring frame distances are
// the differences of those values.
CFFTArray frames(std::initializer_list<float> first) {
    CFFTArray a;
    for (const float v : first) {
        CFFT& f = a.Append(FrameValues);
        std::fill(f.values(), f.values() + FrameValues, 0.0f);
        f[0] = v;
    }
    return a;
}

TEST(WarpDistance, WeightsDiagonalStepsTwice) {
    EXPECT_EQ(WarpDistance(frames({0}), frames({3})), 6.0f);    // one diagonal step
    EXPECT_EQ(WarpDistance(frames({0, 0}), frames({3})), 9.0f); // diagonal then vertical
    // The path that stays on matching frames is the cheapest.
    EXPECT_EQ(WarpDistance(frames({1, 5, 9}), frames({1, 5, 9})), 0.0f);
    // Input 1, 5 against 1, 1, 5: a horizontal step on the cost-0 pair.
    EXPECT_EQ(WarpDistance(frames({1, 5}), frames({1, 1, 5})), 0.0f);
    EXPECT_EQ(WarpDistance(frames({}), frames({})), 0.0f);
    EXPECT_EQ(WarpDistance(frames({}), frames({1})), WarpInfinity);
}

TEST(WarpDistance, LengthsMoreThanFourFramesApartNeverMatch) {
    const CFFTArray ten = frames({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const CFFTArray fourteen = frames({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const CFFTArray fifteen = frames({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(WarpDistance(ten, fourteen), 0.0f);
    EXPECT_EQ(WarpDistance(ten, fifteen), WarpInfinity);
    EXPECT_EQ(WarpDistance(fifteen, ten), WarpInfinity);

    std::array<WordSlot, WordSlotCount> slots;
    std::array<std::uint8_t, TemplateSlotCount> candidate{};
    slots[3].samples.assign(10, 1);
    slots[3].frames = fifteen;
    candidate[3] = 1;
    EXPECT_EQ(BestMatch(ten, slots, candidate).slot, -1);
    EXPECT_FALSE(BestMatch(ten, slots, candidate).accepted());
}

TEST(WarpDistance, NonFiniteFramesCostInfinityWithoutPoisoningTheTable) {
    CFFTArray silent = frames({0, 0});
    silent[1][7] = -std::numeric_limits<float>::infinity();
    CFFTArray nan = frames({0, 0});
    nan[0][7] = std::numeric_limits<float>::quiet_NaN();
    const float d = WarpDistance(silent, frames({0, 0}));
    EXPECT_TRUE(std::isfinite(d));
    EXPECT_GE(d, WarpInfinity);
    EXPECT_GE(WarpDistance(frames({0, 0}), nan), WarpInfinity);
    EXPECT_GE(WarpDistance(silent, silent), WarpInfinity);
}

TEST(BestMatch, SilenceNeverWins) {
    // Words of digital silence: every frame holds minus infinity.
    const std::vector<std::int16_t> silence(4096, 0);
    CFFTArray input;
    AnalyseWord(silence.data(), 4096, input);
    std::array<WordSlot, WordSlotCount> slots;
    std::array<std::uint8_t, TemplateSlotCount> candidate{};
    slots[0].samples = silence;
    AnalyseWord(silence.data(), 4096, slots[0].frames);
    candidate[0] = 1;
    const MatchResult r = BestMatch(input, slots, candidate);
    EXPECT_EQ(r.slot, -1);
    EXPECT_FALSE(r.accepted());
}

struct MatchSetup {
    std::array<WordSlot, WordSlotCount> slots;
    std::array<std::uint8_t, TemplateSlotCount> candidate{};
    void add(int slot, CFFTArray f) {
        slots[static_cast<std::size_t>(slot)].samples.assign(100, 1);
        slots[static_cast<std::size_t>(slot)].frames = std::move(f);
        candidate[static_cast<std::size_t>(slot)] = 1;
    }
};

TEST(BestMatch, TiesGoToTheLowerSlotAndOnlyCandidatesWithWordsCount) {
    MatchSetup m;
    m.add(40, frames({2}));
    m.add(7, frames({-2})); // same distance from 0 as slot 40
    m.add(60, frames({5}));
    MatchResult r = BestMatch(frames({0}), m.slots, m.candidate);
    EXPECT_EQ(r.slot, 7);
    EXPECT_EQ(r.distance, 4.0f);

    m.candidate[7] = 0;
    EXPECT_EQ(BestMatch(frames({0}), m.slots, m.candidate).slot, 40);
    m.slots[40].samples.clear(); // a candidate without a word takes no part
    EXPECT_EQ(BestMatch(frames({0}), m.slots, m.candidate).slot, 60);
    m.candidate[60] = 0;
    EXPECT_EQ(BestMatch(frames({0}), m.slots, m.candidate).slot, -1);
}

TEST(BestMatch, AcceptsUpToTwentyThousandInclusive) {
    MatchSetup m;
    m.add(0, frames({10000.0f})); // 2 x 10000
    const MatchResult at = BestMatch(frames({0}), m.slots, m.candidate);
    EXPECT_EQ(at.distance, 20000.0f);
    EXPECT_TRUE(at.accepted());

    const float above = std::nextafter(20000.0f, 1e30f);
    m.add(0, frames({above / 2}));
    const MatchResult over = BestMatch(frames({0}), m.slots, m.candidate);
    EXPECT_EQ(over.distance, above);
    EXPECT_EQ(over.slot, 0);
    EXPECT_FALSE(over.accepted());
}

} // namespace
} // namespace tessimo
