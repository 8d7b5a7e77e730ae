#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Signals.h"
#include "recognition/CFFT.h"
#include "recognition/FrameAnalysis.h"
#include "recognition/RealFft.h"
#include "recognition/WarpDistance.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

TEST(ApplyWindow, HammingAtHalfSamplesAndUnknownNamesLeaveValues) {
    CFFT w(2048, 1.0f);
    w.ApplyWindow("hamming");
    const double pi = 3.141592654;
    EXPECT_FLOAT_EQ(w[0], static_cast<float>(0.53836 - 0.46164 * std::cos(2 * pi * 0.5 / 2048)));
    EXPECT_FLOAT_EQ(w[1023], w[1024]); // symmetric about the middle
    EXPECT_NEAR(w[1024], 1.0f, 1e-5f);

    CFFT n(8, 1.0f);
    n.ApplyWindow("nuttall"); // sampled at i, not i + 0.5
    EXPECT_NEAR(n[0], 0.3635819 - 0.4891775 + 0.1365995 - 0.0106411, 1e-7);

    CFFT other(16, 2.5f);
    other.ApplyWindow("blackman");
    other.ApplyWindow("");
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(other[i], 2.5f);
    }
}

TEST(SmoothFrame, WindowsNarrowTowardsBothEnds) {
    CFFT v(512);
    for (int i = 0; i < 512; ++i) {
        v[i] = static_cast<float>((i * 37) % 101); // uneven, so every window matters
    }
    const CFFT in = v;
    const auto mean = [&](int first, int last) {
        double s = 0;
        for (int i = first; i <= last; ++i) {
            s += in[i];
        }
        return s / (last - first + 1);
    };
    v.SmoothFrame(8); // even widths are widened to 9
    EXPECT_EQ(v[0], in[0]);
    EXPECT_EQ(v[511], in[511]);
    EXPECT_NEAR(v[1], mean(0, 2), 1e-4);
    EXPECT_NEAR(v[3], mean(0, 6), 1e-4);
    EXPECT_NEAR(v[4], mean(0, 8), 1e-4);
    EXPECT_NEAR(v[200], mean(196, 204), 1e-4);
    EXPECT_NEAR(v[507], mean(503, 511), 1e-4);
    EXPECT_NEAR(v[508], mean(505, 511), 1e-4);
    EXPECT_NEAR(v[510], mean(509, 511), 1e-4);
}

TEST(SmoothFrame, RunningSumAddsTheEnteringValueBeforeDroppingTheLeavingOne) {
    // With 1e8 leaving the window as 5 enters, the order of the two steps shows in single
    // precision: (1e8 + 5) rounds to 1e8 + 8, so the next sum is 8, where (1e8 - 1e8) + 5
    // would be 5.
    CFFT v(512, 0.0f);
    v[0] = 1e8f;
    v[9] = 5.0f;
    v.SmoothFrame(9);
    EXPECT_EQ(v[4], 1e8f * (1.0f / 9.0f));
    EXPECT_EQ(v[5], 8.0f * (1.0f / 9.0f));
}

TEST(AnalyseWord, FrameOffsetsForWordsOfSeveralLengths) {
    EXPECT_EQ(FrameCount(2047), 0);
    EXPECT_EQ(FrameCount(2048), 1);
    EXPECT_EQ(FrameCount(3072), 2);
    EXPECT_EQ(FrameOffset(3072, 1), 1024);
    EXPECT_EQ(FrameCount(3500), 3);
    EXPECT_EQ(FrameOffset(3500, 1), 1024);
    EXPECT_EQ(FrameOffset(3500, 2), 1452);

    // The frames AnalyseWord makes are those of the samples at these offsets.
    const Samples word = chirp(200, 2000, 8000, 3500);
    CFFTArray frames;
    AnalyseWord(word.data(), 3500, frames);
    ASSERT_EQ(frames.GetSize(), 3);
    const int offsets[] = {0, 1024, 1452};
    for (int f = 0; f < 3; ++f) {
        const CFFT expected = AnalyseFrame(word.data() + offsets[f]);
        for (int k = 0; k < FrameValues; ++k) {
            ASSERT_EQ(frames[f][k], expected[k]) << "frame " << f << " value " << k;
        }
    }
    AnalyseWord(word.data(), 2000, frames);
    EXPECT_EQ(frames.GetSize(), 3); // too short for a frame: nothing appended
}

TEST(AnalyseFrame, ToneShowsAtItsBinAndLoudnessShiftsTheLogSpectrum) {
    // Between bins 100 and 101 of 22000/2048 Hz, so that its side lobes are above the rounding
    // noise; the smoothing spreads the peak over about 9 bins.
    const double f = 100.37 * 22000.0 / 2048;
    const CFFT frame = AnalyseFrame(tone(f, 1000, 2048).data());
    ASSERT_EQ(frame.size(), FrameValues);
    const float* peak = std::max_element(frame.values() + 1, frame.values() + 511);
    EXPECT_NEAR(peak - frame.values(), 100, 4);
    EXPECT_GT(frame[100], frame[300] + 3.0f); // far above the side lobes

    // Twice the amplitude adds ln 2 to the log spectrum of a broadband sound.
    const CFFT quiet = AnalyseFrame(noise(1000, 2048).data());
    const CFFT loud = AnalyseFrame(noise(2000, 2048).data());
    double shift = 0.0;
    for (int k = 1; k < 511; ++k) {
        shift += loud[k] - quiet[k];
    }
    EXPECT_NEAR(shift / 510, std::log(2.0), 1e-3);
}

TEST(AnalyseFrame, EachBinsSumOfSquaresIsRoundedOnce) {
    // The windowed transform of the same samples, then each bin's sum of squares formed in
    // double precision and rounded to single precision once, before the root and the log.
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const Samples s = mix(chirp(150, 4000, 9000, 2048), noise(3000, 2048, seed));
        float x[FrameLength];
        for (int i = 0; i < FrameLength; ++i) {
            x[i] = WindowTable()[i] * static_cast<float>(s[static_cast<std::size_t>(i)]);
        }
        RealFft(FrameLength, 1, x);
        CFFT expected(FrameValues);
        for (int k = 0; k < FrameValues; ++k) {
            const double re = x[2 * k], im = x[2 * k + 1];
            expected[k] = std::log(std::sqrt(static_cast<float>(re * re + im * im)));
        }
        expected.SmoothFrame(SmoothingWidth);
        const CFFT frame = AnalyseFrame(s.data());
        for (int k = 0; k < FrameValues; ++k) {
            ASSERT_EQ(frame[k], expected[k]) << "seed " << seed << " value " << k;
        }
    }
}

TEST(AnalyseFrame, SilenceGivesNonFiniteValuesThatAreFarFromEverything) {
    const Samples silence(2048, 0);
    const CFFT silent = AnalyseFrame(silence.data());
    EXPECT_FALSE(std::isfinite(silent[0]));
    EXPECT_FALSE(std::isfinite(FrameDistance(silent, silent)));
    const CFFT sound = AnalyseFrame(noise(1000, 2048).data());
    EXPECT_FALSE(std::isfinite(FrameDistance(silent, sound)));
}

TEST(FrameDistance, SquaredEuclideanDistance) {
    CFFT a(512, 1.0f), b(512, 1.0f);
    EXPECT_EQ(FrameDistance(a, b), 0.0);
    b[3] = 4.0f;
    b[511] = -1.0f;
    EXPECT_EQ(FrameDistance(a, b), 9.0 + 4.0);
    EXPECT_EQ(FrameDistance(b, a), 13.0);

    // One large difference and many small ones: every unit square counts, which a running sum
    // in single precision (2^24 + 1 == 2^24) would lose.
    CFFT zero(512, 0.0f), spread(512, 0.0f);
    spread[0] = 4096.0f;
    for (int k = 1; k < 32; ++k) {
        spread[16 * k] = 1.0f;
    }
    EXPECT_EQ(FrameDistance(zero, spread), 16777216.0 + 31.0);
    CFFTArray x, t;
    std::copy_n(zero.values(), 512, x.Append(FrameValues).values());
    std::copy_n(spread.values(), 512, t.Append(FrameValues).values());
    EXPECT_EQ(WarpDistance(x, t), 2.0f * static_cast<float>(std::sqrt(16777216.0 + 31.0)));
}

} // namespace
} // namespace tessimo
