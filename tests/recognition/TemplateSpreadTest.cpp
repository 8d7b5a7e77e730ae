// Limits taken from the user's own templates, the judging of a word against them, and the
// naming of words recorded too close together.
#include <gtest/gtest.h>

#include "Voices.h"
#include "recognition/TemplateSpread.h"
#include "recognition/WarpDistance.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

// Three takes of each word in slots c, c + 12, c + 24, as the voice templates are kept.
struct Vocabulary {
    std::array<WordSlot, WordSlotCount> slots;
    std::array<std::uint8_t, TemplateSlotCount> candidate{};

    void put(int slot, const Samples& s) {
        slots[static_cast<std::size_t>(slot)].samples = s;
        candidate[static_cast<std::size_t>(slot)] = 1;
    }
    void record(int pitchClass, const Vowels& v) {
        const double pitches[3] = {120, 135, 150};
        const double lengths[3] = {0.45, 0.5, 0.55};
        for (int take = 0; take < 3; ++take) {
            put(pitchClass + 12 * take,
                concat({noise(20, 4000, static_cast<unsigned>(pitchClass * 3 + take)),
                        syllable(v, pitches[take], lengths[take], 3000), noise(20, 4000, 99)}));
        }
    }
};

WordFeatures featuresOf(const Samples& s) {
    WordFeatures f;
    ComputeFeatures(s.data(), static_cast<int>(s.size()), f);
    return f;
}

TEST(TemplateSpread, LimitsLieBetweenTakesOfOneWordAndOtherWords) {
    Vocabulary v;
    for (int w = 0; w < 5; ++w) {
        v.record(w * 2, Words[w]);
    }
    TemplateSpread spread;
    spread.prepare(v.slots);
    const SpreadLimits& l = spread.limits(0);
    EXPECT_GT(l.within, 0.0f);
    EXPECT_GT(l.between, l.within);
    EXPECT_GT(l.acceptDistance, l.within);
    EXPECT_LT(l.acceptDistance, l.between);
    EXPECT_GT(l.margin, 0.0f);

    // A new take of word 3, between the recorded pitches: judged, as word 3.
    const Samples take =
        concat({noise(20, 4000, 7), syllable(Words[3], 128, 0.48, 2000), noise(20, 4000, 8)});
    const AdaptiveMatch m = spread.match(featuresOf(take), v.candidate);
    EXPECT_TRUE(m.accepted);
    EXPECT_EQ(WordClassOf(m.slot), 6);
    EXPECT_NE(WordClassOf(m.secondSlot), 6);

    // A sound unlike any word: not judged.
    const Samples hum = concat({noise(20, 4000, 9), tone(220, 4000, 11000), noise(20, 4000, 10)});
    EXPECT_FALSE(spread.match(featuresOf(hum), v.candidate).accepted);
}

TEST(TemplateSpread, WordEquallyCloseToTwoWordsIsNotJudged) {
    Vocabulary v;
    v.record(0, Words[0]);
    v.record(2, Words[1]);
    v.record(4, Words[2]);
    // Word class 5 recorded with the very sounds of class 0: any take of it is as close to one
    // as to the other.
    for (int take = 0; take < 3; ++take) {
        v.put(5 + 12 * take, v.slots[static_cast<std::size_t>(12 * take)].samples);
    }
    TemplateSpread spread;
    spread.prepare(v.slots);
    const AdaptiveMatch m = spread.match(featuresOf(v.slots[0].samples), v.candidate);
    EXPECT_FALSE(m.accepted);
    EXPECT_EQ(m.distance, m.secondDistance);
    EXPECT_EQ(m.slot, 0); // ties keep the lower slot

    // And the record help names that pair, and only it.
    const auto pairs = spread.confusable();
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].first, 0);
    EXPECT_EQ(pairs[0].second, 5);
}

TEST(TemplateSpread, OnlyCandidatesWithTemplatesTakePart) {
    Vocabulary v;
    v.record(0, Words[0]);
    v.record(2, Words[1]);
    TemplateSpread spread;
    spread.prepare(v.slots);
    auto candidate = v.candidate;
    for (int take = 0; take < 3; ++take) {
        candidate[static_cast<std::size_t>(12 * take)] = 0;
    }
    const AdaptiveMatch m = spread.match(featuresOf(v.slots[0].samples), candidate);
    EXPECT_EQ(WordClassOf(m.slot), 2);
    EXPECT_EQ(m.secondSlot, -1);
    std::array<std::uint8_t, TemplateSlotCount> none{};
    EXPECT_EQ(spread.match(featuresOf(v.slots[0].samples), none).slot, -1);
}

} // namespace
} // namespace tessimo
