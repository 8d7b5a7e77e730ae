// A recorded word played through the recogniser comes out of the virtual speaker whole, and
// the sound server freezing or dying during playback never holds the caller.
#include <gtest/gtest.h>

#include <signal.h>

#include <cmath>

#include "LiveRig.h"

namespace tessimo {
namespace {

using namespace tessimo::test;

// The recogniser with a word in slot 5 (fed without a device) and the real sound output.
struct Speaker {
    Speaker() {
        if (!server.start(problem))
            return;
        output = std::make_unique<SoundOutput>();
        const auto deadline = SteadyTime::now() + std::chrono::seconds(10);
        while (!output->startupFinished() && SteadyTime::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!output->isReady()) {
            problem = "no sound output: " + output->silenceReason();
            output.reset();
            return;
        }
        words = std::make_unique<SoundWordOutput>(*output);
        recognizer = std::make_unique<CRecognizer>(nullptr, words.get());
    }
    // Records slot's word as StopCapture would leave it, from the given samples.
    void record(int slot, const std::vector<std::int16_t>& samples) {
        recognizer->StartWordRecording(slot);
        for (std::size_t i = 0; i < samples.size(); i += CaptureBufferSamples)
            recognizer->onCaptureBuffer(
                samples.data() + i,
                std::min<std::size_t>(CaptureBufferSamples, samples.size() - i));
        recognizer->StopCapture();
    }
    std::string problem;
    PrivateSoundServer server;
    std::unique_ptr<SoundOutput> output;
    std::unique_ptr<SoundWordOutput> words;
    std::unique_ptr<CRecognizer> recognizer;
};

// Correlation of a with b shifted by lag (b[i + lag] against a[i]).
double correlation(const std::vector<double>& a, const std::vector<double>& b, std::size_t lag) {
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < a.size() && i + lag < b.size(); ++i) {
        ab += a[i] * b[i + lag];
        aa += a[i] * a[i];
        bb += b[i + lag] * b[i + lag];
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

TEST(WordPlaybackDevice, APlayedWordLeavesTheSpeakerWhole) {
    Speaker speaker;
    if (speaker.output == nullptr)
        GTEST_SKIP() << speaker.problem;
    // A loud, varied word between quiet ends: a falling chirp with a tremolo.
    std::vector<std::int16_t> word(19000);
    for (std::size_t i = 0; i < word.size(); ++i) {
        const double t = static_cast<double>(i) / 22000;
        const double envelope = std::min({1.0, t / 0.05, (0.8636 - t) / 0.05}) *
                                (0.75 + 0.25 * std::sin(2 * M_PI * 5 * t));
        word[i] = static_cast<std::int16_t>(
            std::lround(12000 * envelope * std::sin(2 * M_PI * (900 * t - 300 * t * t))));
    }
    word.insert(word.begin(), 3000, 0);
    word.insert(word.end(), 3000, 0);
    speaker.record(5, word);
    const WordSlot& slot = speaker.recognizer->slot(5);
    ASSERT_GT(slot.samples.size(), 15000u);

    ASSERT_TRUE(speaker.server.startRecording());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto t = SteadyTime::now();
    EXPECT_EQ(speaker.recognizer->PlayWord(5), 0);
    const double playMs = millisecondsSince(t);
    // The end is known from the stream: wordPlaying() goes false once the last sample has
    // been rendered and the device's latency has passed.
    const double expectedMs = 1000.0 * static_cast<double>(slot.samples.size()) / 22000;
    while (speaker.output->wordPlaying() && millisecondsSince(t) < expectedMs + 2000)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const double endMs = millisecondsSince(t);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const std::vector<float> heard = speaker.server.stopRecording();
    std::printf("PlayWord took %.2f ms on the calling thread; playing ended after %.0f ms for "
                "a %.0f ms word (latency %.0f ms)\n",
                playMs, endMs, expectedMs,
                1000.0 * static_cast<double>(speaker.output->outputLatencyFrames()) /
                    speaker.output->sampleRate());
    EXPECT_FALSE(speaker.output->reclaimWords());
    EXPECT_GT(endMs, expectedMs - 5);
    EXPECT_LT(endMs, expectedMs + 500);

    // What the speaker gave out: the whole word, once, within the resampler's tolerance.
    std::vector<double> played(slot.samples.begin(), slot.samples.end());
    for (auto& s : played)
        s /= 32768.0;
    std::vector<double> got(heard.begin(), heard.end());
    double best = 0;
    std::size_t lag = 0;
    for (std::size_t l = 0; l + played.size() <= got.size(); l += 4) {
        const double c = correlation(played, got, l);
        if (c > best) {
            best = c;
            lag = l;
        }
    }
    for (std::size_t l = lag > 4 ? lag - 4 : 0; l <= lag + 4; ++l) {
        const double c = correlation(played, got, l);
        if (c > best) {
            best = c;
            lag = l;
        }
    }
    EXPECT_GT(best, 0.9) << "the word did not come out";
    // Whole and at its length: each tenth of the word is found in place (within a few
    // samples of the resampler's delay) against the best lag; a machine too busy to feed the
    // server may lose one tenth to a gap, never reorder or stretch the word.
    const std::size_t tenth = played.size() / 10;
    int inPlace = 0;
    for (std::size_t k = 0; k < 10; ++k) {
        const std::vector<double> part(played.begin() + static_cast<long>(k * tenth),
                                       played.begin() + static_cast<long>((k + 1) * tenth));
        double partBest = 0;
        for (std::size_t l = lag + k * tenth - std::min(lag + k * tenth, std::size_t{6});
             l <= lag + k * tenth + 6; ++l)
            partBest = std::max(partBest, correlation(part, got, l));
        inPlace += partBest > 0.97 ? 1 : 0;
    }
    std::printf("best correlation %.4f; %d of 10 tenths of the word in place\n", best, inPlace);
    EXPECT_GE(inPlace, 9) << "the word did not come out whole";
    // Nothing of it before or after the matched stretch.
    double outside = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (i + 200 < lag || i > lag + played.size() + 2000)
            outside = std::max(outside, std::abs(got[i]));
    }
    EXPECT_LT(outside, 0.01);
}

TEST(WordPlaybackDevice, FrozenOrKilledServerDuringPlaybackNeverHoldsTheCaller) {
    Speaker speaker;
    if (speaker.output == nullptr)
        GTEST_SKIP() << speaker.problem;
    speaker.record(7, sine(700, 9000, 30000));
    ASSERT_EQ(speaker.recognizer->PlayWord(7), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(kill(speaker.server.daemonPid(), SIGSTOP), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    double longest = 0;
    for (int i = 0; i < 5; ++i) {
        const auto t = SteadyTime::now();
        speaker.recognizer->PlayWord(7);
        speaker.recognizer->StopWordPlayback();
        speaker.output->wordPlaying();
        speaker.output->reclaimWords();
        longest = std::max(longest, millisecondsSince(t));
    }
    kill(speaker.server.daemonPid(), SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (int i = 0; i < 5; ++i) {
        const auto t = SteadyTime::now();
        speaker.recognizer->PlayWord(7);
        speaker.recognizer->StopWordPlayback();
        longest = std::max(longest, millisecondsSince(t));
    }
    std::printf("server frozen, then killed: longest PlayWord + StopWordPlayback %.2f ms\n",
                longest);
    EXPECT_LT(longest, 200.0); // a conversion and a copy; a wait on the server would be seconds
}

} // namespace
} // namespace tessimo
