// Words played and stopped on one thread while another renders blocks, as the user-interface
// thread and the output callback do: every block holds either silence or consecutive samples
// of one word, and every buffer is freed on the playing thread (run under the thread
// sanitizer in CI).
#include "sound/WordPlayback.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

using namespace tessimo;

TEST(WordPlaybackThreads, RequestsFromAnotherThreadNeverTearABlock) {
    WordPlayback words;
    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::atomic<int> torn{0};
    std::thread audio([&] {
        std::vector<float> out(128);
        std::uint64_t frame = 0;
        while (!done.load()) {
            std::fill(out.begin(), out.end(), 0.0f);
            words.mixInto(out.data(), out.size(), 1, frame);
            frame += out.size();
            // Word w holds w + i / 65536 at sample i: within a block the word stays the same
            // and the samples follow each other, until it ends.
            for (std::size_t i = 1; i < out.size(); ++i) {
                if (out[i] == 0.0f)
                    continue;
                const float step = out[i] - out[i - 1];
                if (out[i - 1] != 0.0f && std::abs(step - 1.0f / 65536) > 1e-5f)
                    ++torn;
            }
            ++blocks;
        }
    });
    for (int w = 1; w <= 2000; ++w) {
        std::vector<float> word(200 + (w * 37) % 700);
        for (std::size_t i = 0; i < word.size(); ++i)
            word[i] = static_cast<float>(w % 7 + 1) + static_cast<float>(i) / 65536;
        words.playConverted(std::move(word));
        if (w % 11 == 0)
            words.stop();
        words.reclaim();
        if (w % 100 == 0)
            std::this_thread::yield();
    }
    words.stop();
    // Once the audio thread has taken the stop, it has let every word go.
    bool held = true;
    for (int i = 0; i < 2000 && held; ++i) {
        held = words.reclaim();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    done = true;
    audio.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_GT(blocks.load(), 0);
    EXPECT_FALSE(held);
}
