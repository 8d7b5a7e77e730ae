// The master volume's law and the soft knee that keeps a loud mix from clipping.
#include "sound/MasterVolume.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessimo;

namespace {

TEST(MasterVolume, PercentMapsToGainWithUnityAtTheDefaultAndClampsOutOfRange) {
    EXPECT_EQ(volumeGain(0), 0.0f);
    EXPECT_EQ(volumeGain(-5), 0.0f);
    EXPECT_FLOAT_EQ(volumeGain(DefaultVolumePercent), 1.0f);
    EXPECT_NEAR(volumeGain(MaxVolumePercent), 2.04f, 0.01f); // about +6 dB
    EXPECT_FLOAT_EQ(volumeGain(250), volumeGain(MaxVolumePercent));
    for (int p = 1; p <= MaxVolumePercent; ++p)
        EXPECT_GT(volumeGain(p), volumeGain(p - 1)) << p;

    MasterVolume volume;
    EXPECT_EQ(volume.percent(), DefaultVolumePercent);
    EXPECT_FLOAT_EQ(volume.gain(), 1.0f);
    volume.setPercent(140);
    EXPECT_EQ(volume.percent(), MaxVolumePercent);
    EXPECT_FLOAT_EQ(volume.gain(), volumeGain(MaxVolumePercent));
    volume.setPercent(0);
    EXPECT_EQ(volume.gain(), 0.0f);
}

TEST(MasterVolume, QuietSamplesAreScaledExactlyAndLoudOnesBendBelowFullScale) {
    std::vector<float> quiet{0.0f, 0.1f, -0.2f, 0.44f};
    applyMasterGain(quiet.data(), quiet.size(), 2.0f);
    EXPECT_EQ(quiet, (std::vector<float>{0.0f, 0.2f, -0.4f, 0.88f}));

    // Rising inputs far past full scale stay below 1, keep rising, and keep their sign.
    float previous = 0;
    for (float x = 0.5f; x < 8.0f; x += 0.05f) {
        float up = x;
        float down = -x;
        applyMasterGain(&up, 1, 1.0f);
        applyMasterGain(&down, 1, 1.0f);
        EXPECT_LE(up, 1.0f) << x;
        EXPECT_GE(up, previous) << x;
        EXPECT_EQ(down, -up) << x;
        previous = up;
    }
    // Continuous at the knee: no step where bending begins.
    float below = 0.8909f;
    float above = 0.8911f;
    applyMasterGain(&below, 1, 1.0f);
    applyMasterGain(&above, 1, 1.0f);
    EXPECT_NEAR(above - below, 0.0002f, 0.00005f);

    std::vector<float> block{0.5f, -0.25f};
    scaleSamples(block.data(), block.size(), SynthLevel);
    EXPECT_FLOAT_EQ(block[0], 0.5f * SynthLevel);
    EXPECT_FLOAT_EQ(block[1], -0.25f * SynthLevel);
}

} // namespace
