// Recorded words mixed by the output's callback: what comes out, where the end falls, and how
// the user-interface thread's requests take effect between blocks.
#include "sound/WordPlayback.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

using namespace tessimo;

namespace {

std::vector<float> ramp(std::size_t n, float step = 1e-4f) {
    std::vector<float> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = step * static_cast<float>(i + 1);
    return v;
}

// Renders frames in blocks of the given size as the stream would, on this thread.
struct Stream {
    explicit Stream(WordPlayback& w, int c = 1) : words(w), channels(c) {}
    WordPlayback& words;
    int channels;
    std::uint64_t frames = 0;
    std::vector<float> heard;

    void render(std::size_t count, std::size_t block) {
        std::vector<float> out(block * static_cast<std::size_t>(channels));
        for (std::size_t done = 0; done < count; done += block) {
            const std::size_t n = std::min(block, count - done);
            std::fill(out.begin(), out.end(), 0.25f); // the synth's part, kept under the word
            words.mixInto(out.data(), n, channels, frames);
            for (std::size_t i = 0; i < n * static_cast<std::size_t>(channels); ++i)
                heard.push_back(out[i] - 0.25f);
            frames += n;
        }
    }
};

TEST(WordPlayback, MixesTheWordWholeAndKnowsTheFrameAfterItsLastSampleAtEveryBlockSize) {
    for (const std::size_t block : {1u, 255u, 256u, 257u, 1000u}) {
        WordPlayback words;
        Stream stream(words);
        stream.render(100, block); // the stream runs before the word
        const auto word = ramp(1000);
        ASSERT_TRUE(words.playConverted(word));
        EXPECT_TRUE(words.isPlaying(stream.frames, 0));
        const std::uint64_t startFrame = (stream.frames);
        stream.render(1500, block);

        std::vector<float> mixed(stream.heard.begin() + 100, stream.heard.end());
        // The word starts at the first block after play() and is heard whole, once.
        const auto first = std::find_if(mixed.begin(), mixed.end(), [](float s) { return s != 0; });
        ASSERT_NE(first, mixed.end());
        const auto at = static_cast<std::size_t>(first - mixed.begin());
        for (std::size_t i = 0; i < word.size(); ++i)
            ASSERT_NEAR(mixed[at + i], word[i], 1e-6f) << "block " << block << " sample " << i;
        for (std::size_t i = at + word.size(); i < mixed.size(); ++i)
            ASSERT_EQ(mixed[i], 0.0f);
        EXPECT_EQ(words.endFrame(), startFrame + at + word.size()) << "block " << block;
        // Playing until the end frame plus the latency has been rendered.
        EXPECT_TRUE(words.isPlaying(words.endFrame() + 99, 100));
        EXPECT_FALSE(words.isPlaying(words.endFrame() + 100, 100));
        EXPECT_FALSE(words.reclaim()) << "the finished word's buffer is freed";
    }
}

TEST(WordPlayback, StereoGetsTheWordOnBothSides) {
    WordPlayback words;
    Stream stream(words, 2);
    ASSERT_TRUE(words.playConverted(ramp(300)));
    stream.render(400, 128);
    for (std::size_t i = 0; i < 300; ++i) {
        ASSERT_NEAR(stream.heard[2 * i], 1e-4f * static_cast<float>(i + 1), 1e-6f);
        ASSERT_FLOAT_EQ(stream.heard[2 * i + 1], stream.heard[2 * i]);
    }
}

TEST(WordPlayback, ASecondWordCutsTheFirstOffAndStopSilencesTheNextBlock) {
    WordPlayback words;
    Stream stream(words);
    ASSERT_TRUE(words.playConverted(std::vector<float>(1000, 0.5f)));
    stream.render(256, 256);
    ASSERT_TRUE(words.playConverted(std::vector<float>(1000, -0.25f)));
    stream.render(256, 256);
    EXPECT_FLOAT_EQ(stream.heard[255], 0.5f);
    EXPECT_FLOAT_EQ(stream.heard[256], -0.25f); // the first word is not heard any more
    words.stop();
    EXPECT_FALSE(words.isPlaying(stream.frames, 0));
    stream.render(256, 256);
    EXPECT_EQ(stream.heard[512], 0.0f);
    EXPECT_FALSE(words.reclaim()); // both words freed once the callback let them go
    words.stop();                  // nothing playing: nothing happens
    EXPECT_FALSE(words.isActive());
}

TEST(WordPlayback, WithoutTheCallbackRunningOnlyAFewWordsAreTakenAndNothingIsFreedTooEarly) {
    WordPlayback words;
    int taken = 0;
    for (int i = 0; i < 10; ++i)
        taken += words.playConverted(std::vector<float>(50, 0.1f)) ? 1 : 0;
    EXPECT_EQ(taken, WordPlayback::SlotCount);
    EXPECT_TRUE(words.reclaim()); // still held: the callback may be about to read them
    EXPECT_TRUE(words.isActive());
    Stream stream(words);
    stream.render(256, 256); // the callback takes the last request and lets the others go
    EXPECT_FALSE(words.reclaim());
    EXPECT_TRUE(words.playConverted(std::vector<float>(50, 0.1f)));
    EXPECT_FALSE(words.playConverted({}));          // an empty word plays nothing...
    EXPECT_TRUE(words.isPlaying(stream.frames, 0)); // ...and leaves the one playing alone
}

TEST(WordPlayback, RecordedSamplesAreConvertedToTheStreamRate) {
    // One second of a 440 Hz sine at 22000 Hz comes out as one second at 48000 Hz.
    std::vector<std::int16_t> word(22000);
    for (std::size_t i = 0; i < word.size(); ++i)
        word[i] = static_cast<std::int16_t>(10000 * std::sin(2 * M_PI * 440 * i / 22000.0));
    WordPlayback words;
    ASSERT_TRUE(words.play(word.data(), word.size(), 48000));
    Stream stream(words);
    stream.render(50000, 512);
    EXPECT_NEAR(static_cast<double>(words.endFrame()), 48000.0, 48.0);
    int crossings = 0;
    for (std::size_t i = 1000; i < 47000; ++i)
        crossings += (stream.heard[i - 1] < 0) != (stream.heard[i] < 0) ? 1 : 0;
    EXPECT_NEAR(crossings / 2.0 / (46000 / 48000.0), 440.0, 2.0);
    const double power =
        std::inner_product(stream.heard.begin() + 1000, stream.heard.begin() + 47000,
                           stream.heard.begin() + 1000, 0.0) /
        46000;
    EXPECT_NEAR(std::sqrt(power), 10000 / 32768.0 / std::sqrt(2.0), 0.005);
}

} // namespace
