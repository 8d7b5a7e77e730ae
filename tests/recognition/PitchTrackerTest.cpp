// The pitch tracker: the correlation through the FFT, the period of harmonic tones over the
// tracked range, the naming of a note by its stable frames, and its octave under a sub-octave
// rank.
#include <gtest/gtest.h>

#include <cmath>

#include "Voices.h"
#include "recognition/PitchTracker.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

TEST(PitchTracker, CorrelationThroughTheFftMatchesTheSum) {
    PitchTracker t;
    std::vector<float> x(PitchFrameLength);
    std::uint32_t state = 7;
    for (auto& v : x) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<float>((state >> 8) / 8388608.0 - 1.0);
    }
    std::vector<float> r(PitchFrameLength - PitchWindow + 1);
    t.correlate(x.data(), r.data());
    for (int tau : {0, 1, 2, 100, 511, 1023, 1024}) {
        double sum = 0.0;
        for (int j = 0; j < PitchWindow; ++j) {
            sum += static_cast<double>(x[static_cast<std::size_t>(j)]) *
                   x[static_cast<std::size_t>(j + tau)];
        }
        EXPECT_NEAR(r[static_cast<std::size_t>(tau)], sum, 1e-3 * PitchWindow) << tau;
    }
}

TEST(PitchTracker, HarmonicTonesWithinTwentyCentsOverTheRange) {
    PitchTracker t;
    for (int pitch = LowestTrackedPitch; pitch <= HighestTrackedPitch; ++pitch) {
        const Samples s = instrumentNote(pitch, 0.3, 8000);
        const PitchEstimate e = t.estimate(s.data() + 1000);
        ASSERT_GT(e.hz, 0.0f) << pitch;
        const double cents =
            1200.0 * std::log2(e.hz / (440.0 * std::pow(2.0, (pitch - 69) / 12.0)));
        EXPECT_NEAR(cents, 0.0, 20.0) << pitch;
    }
}

TEST(PitchTracker, NamesANoteByItsStableFramesWithOneOctave) {
    PitchTracker t;
    for (int pitch : {36, 45, 57, 60, 71, 83}) {
        const Samples s =
            concat({noise(20, 3000, 1), instrumentNote(pitch, 0.5, 8000), noise(20, 3000, 2)});
        EXPECT_EQ(t.note(s.data(), s.size()), pitch);
    }
    // A short blip of another note inside a long one does not change it.
    const Samples withBlip = concat({instrumentNote(60, 0.3, 8000), instrumentNote(67, 0.05, 8000),
                                     instrumentNote(60, 0.3, 8000)});
    EXPECT_EQ(t.note(withBlip.data(), withBlip.size()), 60);
}

TEST(PitchTracker, SoundOverASubOctaveRankIsNamedByItsOwnPitch) {
    PitchTracker t;
    const Samples quiet = noise(20, 3000, 4);
    for (int pitch : {48, 57, 60, 69, 76, 83}) {
        // A stopped pipe an octave below, 6 dB under the open pipe's fundamental: the
        // sound's period doubles, its pitch does not.
        const Samples s = concat({quiet, organNote(pitch, 0.6, 6000, -6.0), quiet});
        EXPECT_EQ(t.note(s.data(), s.size()), pitch) << pitch;
    }
}

TEST(PitchTracker, LowestPartialThatCarriesTheToneKeepsItsOctave) {
    PitchTracker t;
    const Samples quiet = noise(20, 3000, 5);
    for (int pitch : {52, 60, 71}) {
        // The stopped pipe louder than the open one: it is the note.
        const Samples loud = concat({quiet, organNote(pitch, 0.6, 5000, 3.0), quiet});
        EXPECT_EQ(t.note(loud.data(), loud.size()), pitch - 12) << pitch;
        // A tone whose octave partial is as strong as its fundamental, the odd partials
        // weak (a flute): its own fundamental.
        const double f0 = 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
        const Samples flute = concat(
            {quiet,
             mix(mix(tone(f0, 5000, 13200), tone(2 * f0, 5000, 13200)), tone(3 * f0, 500, 13200)),
             quiet});
        EXPECT_EQ(t.note(flute.data(), flute.size()), pitch) << pitch;
    }
}

TEST(PitchTracker, NoNoteWithoutAStablePitch) {
    PitchTracker t;
    const Samples hiss = noise(5000, 11000, 3);
    EXPECT_EQ(t.note(hiss.data(), hiss.size()), -1);
    const Samples tooShort =
        instrumentNote(60, 0.13, 8000); // two frames: fewer than the rule needs
    EXPECT_EQ(t.note(tooShort.data(), tooShort.size()), -1);
    const Samples glide = chirp(200, 800, 8000, 11000); // never holds a pitch
    EXPECT_EQ(t.note(glide.data(), glide.size()), -1);
}

} // namespace
} // namespace tessimo
