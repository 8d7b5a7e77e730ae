// The adaptive matching's features: what they forgive (level, tilt, the room around a word)
// and what they keep (which word it is); the warping distance between them.
#include <gtest/gtest.h>

#include <cmath>

#include "Voices.h"
#include "recognition/WarpDistance.h"
#include "recognition/WordFeatures.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

WordFeatures featuresOf(const Samples& s) {
    WordFeatures f;
    ComputeFeatures(s.data(), static_cast<int>(s.size()), f);
    return f;
}

// A gentle first-order low-pass: another microphone.
Samples tilted(const Samples& s) {
    Samples out(s.size());
    double y = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        y = 0.6 * s[i] + 0.4 * y;
        out[i] = clip(y);
    }
    return out;
}

TEST(WordFeatures, ForgiveLevelTiltAndTheRoomAroundTheWordButNotTheWord) {
    const Samples word = syllable(Words[0], 140, 0.5, 3000);
    const WordFeatures reference = featuresOf(word);
    const float otherWord =
        FeatureWarpDistance(featuresOf(syllable(Words[1], 140, 0.5, 3000)), reference);

    Samples quieter = word;
    for (auto& x : quieter) {
        x = static_cast<std::int16_t>(x / 4); // 12 dB
    }
    const Samples inRoom = concat({noise(20, 6000, 1), word, noise(20, 8000, 2)});
    for (const Samples& variant : {quieter, tilted(word), inRoom}) {
        EXPECT_LT(FeatureWarpDistance(featuresOf(variant), reference), 0.25f * otherWord);
    }
}

TEST(WordFeatures, SilenceAroundAWordIsLeftOut) {
    const Samples word = syllable(Words[2], 120, 0.4, 3000);
    const WordFeatures alone = featuresOf(word);
    const WordFeatures padded =
        featuresOf(concat({noise(20, 11000, 3), word, noise(20, 11000, 4)}));
    // A second of room on either side is about 86 frames; what is kept is the word with at most
    // a few frames of its quiet edges.
    EXPECT_GE(padded.frames, alone.frames - 4);
    EXPECT_LE(padded.frames, alone.frames + 10);
}

TEST(WordFeatures, NoiseAddedToATemplateBringsItCloserToTheWordHeardInThatNoise) {
    const Samples word = syllable(Words[3], 150, 0.5, 3000);
    const WordFeatures clean = featuresOf(concat({noise(10, 6000, 5), word, noise(10, 6000, 6)}));
    const Samples hiss = noise(900, static_cast<int>(word.size()) + 12000, 7);
    const WordFeatures heard = featuresOf(mix(hiss, concat({Samples(6000), word})));
    WordFeatures noisy;
    AddNoise(clean, heard.noise, noisy);
    EXPECT_LT(FeatureWarpDistance(heard, noisy), 0.7f * FeatureWarpDistance(heard, clean));
}

TEST(WordFeatures, WarpDistanceLimits) {
    const WordFeatures a = featuresOf(syllable(Words[0], 140, 0.5, 3000));
    const WordFeatures b = featuresOf(syllable(Words[4], 140, 0.5, 3000));
    EXPECT_EQ(FeatureWarpDistance(a, a), 0.0f);
    // More than twice as long: no path.
    EXPECT_EQ(FeatureWarpDistance(a, featuresOf(syllable(Words[0], 140, 1.4, 3000))), WarpInfinity);
    EXPECT_EQ(FeatureWarpDistance(a, WordFeatures{}), WarpInfinity);
    // A limit gives up only on distances past it.
    const float d = FeatureWarpDistance(a, b);
    EXPECT_EQ(FeatureWarpDistance(a, b, 1.01f * d), d);
    EXPECT_EQ(FeatureWarpDistance(a, b, 0.5f * d), WarpInfinity);
}

TEST(WordFeatures, FastLogIsCloseToTheLogarithm) {
    for (float x = 1.0f; x < 1e12f; x *= 1.37f) {
        EXPECT_NEAR(FastLog(x), std::log(x), 2e-4) << x;
    }
}

} // namespace
} // namespace tessimo
