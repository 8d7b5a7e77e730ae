#include <gtest/gtest.h>

#include "Signals.h"
#include "recognition/WordTrimming.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

TEST(FindWord, CutsSilenceAtHundredSampleSteps) {
    // 1000 samples of silence, a 3000-sample tone, 2001 of silence.
    const Samples s = concat({Samples(1000, 0), tone(700, 8000, 3000), Samples(2001, 0)});
    const TrimRange r = FindWord(s.data(), static_cast<int>(s.size()));
    EXPECT_EQ(r.start, 1000);
    EXPECT_EQ(r.end, 4000);
}

TEST(FindWord, KeepsAtLeastAFrameAfterAShortSound) {
    const Samples s = concat({Samples(500, 0), tone(700, 8000, 300), Samples(5000, 0)});
    const TrimRange r = FindWord(s.data(), static_cast<int>(s.size()));
    EXPECT_EQ(r.start, 500);
    EXPECT_EQ(r.end, 500 + 2048);
}

TEST(FindWord, WithoutALoudBlockTakesTheFrameBeforeTheLastSample) {
    const Samples silence(5000, 0);
    const TrimRange r = FindWord(silence.data(), 5000);
    EXPECT_EQ(r.start, 4999 - 2048);
    EXPECT_EQ(r.end, 4999);

    const Samples shortest = tone(300, 5000, 2049);
    const TrimRange s = FindWord(shortest.data(), 2049);
    EXPECT_EQ(s.start, 0);
    EXPECT_EQ(s.end, 2048);
}

TEST(FindWord, AClickSetsTheRangeAndQuietSpeechAroundItIsCut) {
    // Speech-like sound of amplitude 100 (mean |x| about 64), a click of 30000 in the middle:
    // blocks must exceed 0.5 % of the 60000 range, a mean of 300.
    Samples s = tone(300, 100, 12000);
    s[6050] = 30000;
    s[6051] = -30000;
    const TrimRange r = FindWord(s.data(), 12000);
    EXPECT_EQ(r.start, 6000);
    EXPECT_EQ(r.end, 6000 + 2048);
    // Without the click the same sound is a word from end to end.
    const Samples plain = tone(300, 100, 12000);
    const TrimRange p = FindWord(plain.data(), 12000);
    EXPECT_EQ(p.start, 0);
    EXPECT_EQ(p.end, 11999);
}

} // namespace
} // namespace tessimo
