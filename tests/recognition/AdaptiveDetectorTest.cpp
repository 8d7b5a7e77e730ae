// The adaptive detector: calibration, tracking of the floor, start and end of words relative to
// it, pre-roll and hangover, and words heard in steady noise.
#include <gtest/gtest.h>

#include <cmath>

#include "Signals.h"
#include "recognition/AdaptiveDetector.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

constexpr int Block = AdaptiveDetector::BlockSamples;

struct Word {
    std::size_t start;
    std::size_t length;
};

std::vector<Word> detect(AdaptiveDetector& d, const Samples& s, std::size_t chunk = 4096) {
    std::vector<Word> words;
    for (std::size_t i = 0; i < s.size(); i += chunk) {
        d.feed(s.data() + i, std::min(chunk, s.size() - i),
               [&](const std::int16_t*, std::size_t n) {
                   words.push_back({d.lastWordStart(), n});
               });
    }
    return words;
}

double dbOf(double rms) {
    return 10.0 * std::log10(rms * rms + 1.0);
}

TEST(AdaptiveDetector, CalibrationTakesTheRoomsLevelAndIgnoresACough) {
    AdaptiveDetector d;
    // White noise uniform in [-a, a] has an RMS of a / sqrt(3).
    const Samples room = noise(300, 24 * Block, 3);
    Samples withCough = room;
    const Samples cough = tone(500, 12000, 3 * Block);
    std::copy(cough.begin(), cough.end(), withCough.begin() + 5 * Block);
    detect(d, withCough);
    ASSERT_TRUE(d.calibrated());
    EXPECT_NEAR(d.floorDb(), dbOf(300 / std::sqrt(3.0)), 1.0);
}

TEST(AdaptiveDetector, WordKeepsItsPreRollAndItsWeakEnding) {
    AdaptiveDetector d;
    const Samples room = noise(100, 40 * Block, 1);
    // A loud part, then a weak ending 7 dB above the room (the "l" of "sol") for 200 ms.
    const Samples loud = tone(400, 6000, 10 * Block);
    const Samples weak = noise(100 * std::pow(10.0, 7.0 / 20.0), 9 * Block, 2);
    const Samples stream = concat({room, loud, weak, room});
    const auto words = detect(d, stream);
    ASSERT_EQ(words.size(), 1u);
    const std::size_t onset = room.size();
    EXPECT_LT(words[0].start, onset); // pre-roll before the onset
    EXPECT_GE(words[0].start, onset - 6 * Block);
    EXPECT_GE(words[0].start + words[0].length, onset + loud.size() + weak.size() - Block);
    EXPECT_LE(words[0].start + words[0].length, onset + loud.size() + weak.size() + 5 * Block);
}

TEST(AdaptiveDetector, WordEndsInSteadyNoiseLouderThanAQuietRoom) {
    // Fan noise 20 dB below the word: the documented threshold of twice a quiet room's level
    // would never see the word end.
    AdaptiveDetector d;
    const Samples fan = noise(600, 120 * Block, 4);
    const Samples word =
        mix(tone(700, 6000 * std::sqrt(2.0), 16 * Block), noise(600, 16 * Block, 5));
    const auto words = detect(d, concat({fan, word, fan, word, fan}));
    EXPECT_EQ(words.size(), 2u);
}

TEST(AdaptiveDetector, RoomThatGetsLouderBecomesTheNewFloor) {
    AdaptiveDetector d;
    const Samples quiet = noise(50, 30 * Block, 6);
    const Samples loud = noise(1500, 200 * Block, 7); // 30 dB up, for good
    const Samples word = mix(tone(500, 20000, 12 * Block), noise(1500, 12 * Block, 8));
    const auto words = detect(d, concat({quiet, loud, word, noise(1500, 30 * Block, 9)}));
    // The rise itself is not a word (it never ends); the word after it is found.
    ASSERT_EQ(words.size(), 1u);
    EXPECT_GT(words[0].start, quiet.size() + loud.size() - 6 * Block);
    EXPECT_NEAR(d.floorDb(), dbOf(1500 / std::sqrt(3.0)), 2.0);
}

TEST(AdaptiveDetector, ClickIsNotAWord) {
    AdaptiveDetector d;
    const Samples room = noise(100, 40 * Block, 1);
    const auto words = detect(d, concat({room, tone(900, 20000, 2 * Block), room}));
    EXPECT_TRUE(words.empty());
}

TEST(AdaptiveDetector, SameWordsWhateverTheBufferSize) {
    const Samples room = noise(100, 40 * Block, 1);
    const Samples stream = concat(
        {room, tone(400, 6000, 10 * Block + 17), room, chirp(300, 900, 5000, 20 * Block), room});
    AdaptiveDetector reference;
    const auto expected = detect(reference, stream, 4096);
    ASSERT_EQ(expected.size(), 2u);
    for (const std::size_t chunk : {1, 511, 512, 513, 4095, 4097}) {
        AdaptiveDetector d;
        const auto words = detect(d, stream, chunk);
        ASSERT_EQ(words.size(), expected.size()) << chunk;
        for (std::size_t i = 0; i < words.size(); ++i) {
            EXPECT_EQ(words[i].start, expected[i].start) << chunk;
            EXPECT_EQ(words[i].length, expected[i].length) << chunk;
        }
    }
}

TEST(AdaptiveDetector, KnownFloorSkipsCalibrationAndFlushEndsAWord) {
    AdaptiveDetector d;
    d.restartWithFloor(dbOf(100 / std::sqrt(3.0)));
    const Samples stream = concat({noise(100, 4 * Block, 1), tone(400, 6000, 10 * Block)});
    EXPECT_TRUE(detect(d, stream).empty()); // the word is still under way at the end
    EXPECT_TRUE(d.inWord());
    std::size_t flushed = 0;
    d.flush([&](const std::int16_t*, std::size_t n) { flushed = n; });
    EXPECT_GE(flushed, 10u * Block);
    EXPECT_FALSE(d.inWord());
}

} // namespace
} // namespace tessimo
