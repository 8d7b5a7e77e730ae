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

// A word whose weak ending (a faint hiss after the vowel) a loud room drowns: heard in that
// room it ends with its vowel, and so must its template heard in the room.
TEST(WordFeatures, ATemplateHeardInALoudRoomLosesTheEndingTheRoomDrowns) {
    const Samples vowel = syllable(Words[2], 130, 0.45, 3000);
    const Samples word = concat({vowel, noise(100, 5500, 9)});
    const WordFeatures clean = featuresOf(concat({noise(10, 6000, 5), word, noise(10, 6000, 6)}));
    const int n = static_cast<int>(word.size()) + 12000;
    const WordFeatures heard =
        featuresOf(mix(noise(200, n, 7), concat({Samples(6000), word, Samples(6000)})));
    ASSERT_TRUE(heard.heldRoom) << heard.rangeDb;
    WordFeatures kept, trimmed;
    AddNoise(clean, heard.noise, kept);
    AddNoise(clean, heard.noise, trimmed, true);
    EXPECT_EQ(kept.frames, clean.frames);
    // The hiss was about 18 frames; it is gone, the vowel stays.
    EXPECT_LE(trimmed.frames, clean.frames - 10);
    EXPECT_GE(trimmed.frames, heard.frames / 2);
    WordFeatures floored = heard;
    FloorToRoom(floored);
    EXPECT_LT(FeatureWarpDistance(floored, trimmed), FeatureWarpDistance(heard, kept));
    // In a quiet room nothing is drowned.
    const WordFeatures quiet = featuresOf(concat({noise(10, 6000, 8), word, noise(10, 6000, 9)}));
    AddNoise(clean, quiet.noise, trimmed, true);
    EXPECT_GE(trimmed.frames, clean.frames - 2);
}

TEST(WordFeatures, LongWordsCompareOnEveryOtherFrameAndStillTellWordsApart) {
    const WordFeatures a = featuresOf(syllable(Words[0], 140, 1.0, 3000));
    const WordFeatures again = featuresOf(syllable(shifted(Words[0], 1.03), 128, 0.9, 2000));
    const WordFeatures b = featuresOf(syllable(Words[4], 140, 1.0, 3000));
    ASSERT_EQ(MatchStep(a.frames, b.frames), 2);
    EXPECT_EQ(MatchStep(a.frames, LongWordFrames), 1);
    const float full = FeatureWarpDistance(a, again);
    const float half = FeatureWarpDistance(a, again, WarpInfinity, 2, 2);
    EXPECT_NEAR(half, full, 0.15f * full);
    EXPECT_LT(half, 0.5f * FeatureWarpDistance(a, b, WarpInfinity, 2, 2));
    // A template made at every other frame is the same as one read at every other frame.
    const std::array<float, MelBandCount> none{};
    WordFeatures every, everyOther;
    AddNoise(a, none, every);
    AddNoise(a, none, everyOther, false, 2);
    EXPECT_EQ(everyOther.frames, (a.frames + 1) / 2);
    EXPECT_NEAR(FeatureWarpDistance(again, everyOther, WarpInfinity, 2, 1),
                FeatureWarpDistance(again, every, WarpInfinity, 2, 2), 0.05f * half);
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
