// The input levels of the sound set-up on synthetic signals: the level and peak of a block,
// the clipping flag, and the verdicts of takes that are too quiet, too noisy or good.
#include "audio_devices/LevelAnalysis.h"
#include "audio_devices/InputLevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

using namespace tessimo;

namespace {

constexpr double Rate = 22000;

// amplitude in dBFS (peak) of a 440 Hz sine, seconds long, plus white noise at noiseDb (rms).
std::vector<std::int16_t> signal(double seconds, double sineDb, double noiseDb, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0.0, 1.0);
    const double sine = sineDb <= SilenceDb ? 0 : 32767.0 * std::pow(10.0, sineDb / 20);
    const double noise = noiseDb <= SilenceDb ? 0 : 32768.0 * std::pow(10.0, noiseDb / 20);
    std::vector<std::int16_t> out(static_cast<std::size_t>(seconds * Rate));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double v =
            sine * std::sin(2 * M_PI * 440 * static_cast<double>(i) / Rate) + noise * gauss(random);
        out[i] = static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
    }
    return out;
}

// A take of 3 s: room noise throughout, a "word" (a sine) for 0.6 s in the middle.
std::vector<std::int16_t> take(double wordDb, double noiseDb) {
    std::vector<std::int16_t> room = signal(3.0, SilenceDb, noiseDb, 7);
    const std::vector<std::int16_t> word = signal(0.6, wordDb, SilenceDb);
    for (std::size_t i = 0; i < word.size(); ++i) {
        const std::size_t at = static_cast<std::size_t>(1.2 * Rate) + i;
        room[at] = static_cast<std::int16_t>(std::clamp(room[at] + word[i], -32768, 32767));
    }
    return room;
}

TakeLevels judge(const std::vector<std::int16_t>& samples) {
    TakeAnalysis analysis;
    analysis.add(samples.data(), samples.size());
    return analysis.result();
}

TEST(LevelAnalysis, BlockLevelsOfSineSilenceAndFullScale) {
    const auto half = signal(0.5, -6.02, SilenceDb);
    const BlockLevel level = measureLevel(half.data(), half.size());
    EXPECT_NEAR(level.peakDb, -6.02, 0.05);
    EXPECT_NEAR(level.rmsDb, -6.02 - 3.01, 0.05); // a sine's rms is 3 dB under its peak
    EXPECT_FALSE(level.clipped);

    const auto full = signal(0.5, 0.0, SilenceDb);
    EXPECT_TRUE(measureLevel(full.data(), full.size()).clipped);
    EXPECT_NEAR(measureLevel(full.data(), full.size()).peakDb, 0.0, 0.05);

    const std::vector<std::int16_t> zeros(4096, 0);
    EXPECT_EQ(measureLevel(zeros.data(), zeros.size()).rmsDb, SilenceDb);
    EXPECT_EQ(measureLevel(zeros.data(), zeros.size()).peakDb, SilenceDb);
    EXPECT_EQ(measureLevel(nullptr, 0).rmsDb, SilenceDb);
    const std::int16_t lowest = -32768; // full scale on the negative side clips too
    EXPECT_TRUE(measureLevel(&lowest, 1).clipped);
}

TEST(LevelAnalysis, TakesAreJudgedQuietNoisyOrGood) {
    const TakeLevels good = judge(take(-12, -60));
    EXPECT_EQ(good.verdict, TakeVerdict::Good);
    EXPECT_NEAR(good.noiseFloorDb, -60, 1.5);
    EXPECT_NEAR(good.speechDb, -15, 1.5);
    EXPECT_NEAR(good.marginDb, good.speechDb - good.noiseFloorDb, 1e-9);
    EXPECT_FALSE(good.clipped);

    const TakeLevels quiet = judge(take(-50, -75));
    EXPECT_EQ(quiet.verdict, TakeVerdict::TooQuiet);
    EXPECT_LT(quiet.speechDb, TakeAnalysis::QuietBelowDb);

    const TakeLevels noisy = judge(take(-14, -26));
    EXPECT_EQ(noisy.verdict, TakeVerdict::TooNoisy);
    EXPECT_LT(noisy.marginDb, TakeAnalysis::NoisyBelowDb);
    EXPECT_GT(noisy.speechDb, TakeAnalysis::QuietBelowDb);

    EXPECT_TRUE(judge(take(0, -60)).clipped);
    EXPECT_EQ(judge({}).verdict, TakeVerdict::TooShort);
    const std::vector<std::int16_t> lessThanAFrame(TakeAnalysis::FrameSamples - 1, 1000);
    EXPECT_EQ(judge(lessThanAFrame).verdict, TakeVerdict::TooShort);
    EXPECT_STREQ(verdictText(TakeVerdict::TooNoisy), "too noisy for voice answers");
}

// Frames continue across pieces of any size, as capture buffers arrive.
TEST(LevelAnalysis, ATakeFedInPiecesIsJudgedAsAWhole) {
    const auto samples = take(-20, -55);
    const TakeLevels whole = judge(samples);
    TakeAnalysis pieces;
    const std::size_t sizes[] = {1, 511, 512, 513, 4096, 0}; // seams of a frame, and nothing
    std::size_t at = 0;
    for (std::size_t k = 0; at < samples.size(); ++k) {
        const std::size_t n = std::min(sizes[k % std::size(sizes)], samples.size() - at);
        pieces.add(samples.data() + at, n);
        at += n;
    }
    EXPECT_EQ(at, samples.size());
    EXPECT_EQ(pieces.frameCount(), samples.size() / TakeAnalysis::FrameSamples);
    EXPECT_EQ(pieces.result().noiseFloorDb, whole.noiseFloorDb);
    EXPECT_EQ(pieces.result().speechDb, whole.speechDb);
}

// The meter measures each capture buffer and judges exactly the samples of a take asked for.
TEST(InputLevelMeter, PublishesTheLatestBufferAndFinishesATakeAfterItsLength) {
    InputLevelMeter meter;
    EXPECT_EQ(meter.latest().rmsDb, SilenceDb);
    const auto loud = signal(4096 / Rate, -6, SilenceDb);
    meter.onCaptureBuffer(loud.data(), loud.size());
    EXPECT_EQ(meter.buffersMeasured(), 1u);
    EXPECT_NEAR(meter.latest().peakDb, -6, 0.1);

    const auto samples = take(-12, -60);
    meter.startTake(samples.size());
    EXPECT_TRUE(meter.takeRunning());
    std::size_t at = 0;
    while (at < samples.size()) {
        const std::size_t n = std::min<std::size_t>(4096, samples.size() - at);
        EXPECT_EQ(meter.takesFinished(), 0u);
        meter.onCaptureBuffer(samples.data() + at, n);
        at += n;
    }
    EXPECT_FALSE(meter.takeRunning());
    EXPECT_EQ(meter.takesFinished(), 1u);
    EXPECT_EQ(meter.lastTake().verdict, TakeVerdict::Good);
    EXPECT_EQ(meter.lastTake().speechDb, judge(samples).speechDb);
    meter.onCaptureBuffer(loud.data(), loud.size()); // after the take: not added to it
    EXPECT_EQ(meter.takesFinished(), 1u);
}

} // namespace
