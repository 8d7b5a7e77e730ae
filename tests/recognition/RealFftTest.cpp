#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "recognition/RealFft.h"

namespace tessimo {
namespace {

// Direct transform in double precision, packed as RealFft packs it.
std::vector<double> directTransform(const std::vector<float>& x) {
    const int n = static_cast<int>(x.size());
    std::vector<double> out(n);
    for (int k = 0; k <= n / 2; ++k) {
        double re = 0.0, im = 0.0;
        for (int j = 0; j < n; ++j) {
            const double angle = 2.0 * std::numbers::pi * ((static_cast<long>(j) * k) % n) / n;
            re += x[j] * std::cos(angle);
            im += x[j] * std::sin(angle);
        }
        if (k == 0) {
            out[0] = re;
        } else if (k == n / 2) {
            out[1] = re;
        } else {
            out[2 * k] = re;
            out[2 * k + 1] = im;
        }
    }
    return out;
}

std::vector<float> randomBlock(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    std::vector<float> x(n);
    for (auto& v : x) {
        v = value(random);
    }
    return x;
}

TEST(RealFft, SmallSizesByHand) {
    float two[] = {3.0f, 5.0f};
    RealFft(2, 1, two);
    EXPECT_FLOAT_EQ(two[0], 8.0f);
    EXPECT_FLOAT_EQ(two[1], -2.0f);

    float four[] = {1.0f, 2.0f, 3.0f, 4.0f};
    RealFft(4, 1, four);
    EXPECT_FLOAT_EQ(four[0], 10.0f);
    EXPECT_FLOAT_EQ(four[1], -2.0f);
    EXPECT_FLOAT_EQ(four[2], -2.0f);
    EXPECT_FLOAT_EQ(four[3], -2.0f);
}

TEST(RealFft, ImpulseGivesAFlatRealSpectrum) {
    std::vector<float> x(2048, 0.0f);
    x[0] = 1.0f;
    RealFft(2048, 1, x.data());
    EXPECT_FLOAT_EQ(x[0], 1.0f);
    EXPECT_FLOAT_EQ(x[1], 1.0f);
    for (int k = 1; k < 1024; ++k) {
        ASSERT_NEAR(x[2 * k], 1.0f, 1e-6f) << k;
        ASSERT_NEAR(x[2 * k + 1], 0.0f, 1e-6f) << k;
    }
}

TEST(RealFft, CosineAndSineLandInTheirBinWithThePositiveSineSign) {
    std::vector<float> c(2048), s(2048);
    for (int j = 0; j < 2048; ++j) {
        c[j] = static_cast<float>(std::cos(2.0 * std::numbers::pi * j * 5 / 2048));
        s[j] = static_cast<float>(std::sin(2.0 * std::numbers::pi * j * 5 / 2048));
    }
    RealFft(2048, 1, c.data());
    RealFft(2048, 1, s.data());
    EXPECT_NEAR(c[10], 1024.0f, 1e-3f);
    EXPECT_NEAR(s[11], 1024.0f, 1e-3f); // I[5] is +1024, not -1024
    for (int i = 0; i < 2048; ++i) {
        if (i != 10) {
            ASSERT_NEAR(c[i], 0.0f, 2e-3f) << i;
        }
        if (i != 11) {
            ASSERT_NEAR(s[i], 0.0f, 2e-3f) << i;
        }
    }
}

TEST(RealFft, EverySizeAgreesWithTheDirectTransform) {
    // Up to 4096 the forward transform takes one path, above it another.
    for (int n = 2; n <= 8192; n *= 2) {
        const auto x = randomBlock(n, static_cast<unsigned>(n));
        const auto expected = directTransform(x);
        auto a = x;
        RealFft(n, 1, a.data());
        double errorSquares = 0.0, normSquares = 0.0, worst = 0.0;
        for (int i = 0; i < n; ++i) {
            errorSquares += (a[i] - expected[i]) * (a[i] - expected[i]);
            normSquares += expected[i] * expected[i];
            worst = std::max(worst, std::abs(a[i] - expected[i]));
        }
        // Single precision with log2(n) rounding steps: a few units of 1e-7 of the norm.
        EXPECT_LT(std::sqrt(errorSquares / normSquares), 1e-6) << "n = " << n;
        EXPECT_LT(worst / std::sqrt(normSquares / n), 1e-5) << "n = " << n;
    }
}

TEST(RealFft, InverseOfForwardIsHalfTheSizeTimesTheInput) {
    for (int n = 2; n <= 16384; n *= 2) {
        const auto x = randomBlock(n, 1000u + static_cast<unsigned>(n));
        auto a = x;
        RealFft(n, 1, a.data());
        RealFft(n, -1, a.data());
        double worst = 0.0;
        for (int i = 0; i < n; ++i) {
            worst = std::max(worst, std::abs(a[i] / (n / 2.0) - x[i]));
        }
        EXPECT_LT(worst, 2e-6) << "n = " << n;
    }
}

TEST(RealFft, InverseMatchesItsDefinition) {
    // Inverse of an arbitrary packed spectrum against the sum that defines it.
    const int n = 64;
    const auto spectrum = randomBlock(n, 7u);
    auto a = spectrum;
    RealFft(n, -1, a.data());
    for (int k = 0; k < n; ++k) {
        double expected = (spectrum[0] + spectrum[1] * std::cos(std::numbers::pi * k)) / 2.0;
        for (int j = 1; j < n / 2; ++j) {
            const double angle = 2.0 * std::numbers::pi * j * k / n;
            expected += spectrum[2 * j] * std::cos(angle) + spectrum[2 * j + 1] * std::sin(angle);
        }
        EXPECT_NEAR(a[k], expected, 1e-5) << k;
    }
}

TEST(RealFft, UnsupportedSizesLeaveTheBlockAlone) {
    float a[6] = {1, 2, 3, 4, 5, 6};
    RealFft(6, 1, a);
    RealFft(1, 1, a);
    RealFft(0, 1, a);
    EXPECT_FLOAT_EQ(a[0], 1.0f);
    EXPECT_FLOAT_EQ(a[5], 6.0f);
    EXPECT_FALSE(IsRealFftSize(6));
    EXPECT_TRUE(IsRealFftSize(2048));
}

} // namespace
} // namespace tessimo
