// The hand-over of messages from the user-interface thread to the rendering thread.
#include "OfflineSynth.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

using namespace tessimo;
using namespace tessimo::test;

namespace {

// Message n sets channel n % 8 to program n / 8, so the channels' programs after any prefix
// of the messages are q + 1 on channels 0..b-1 and q on the rest; a message applied out of
// order breaks that pattern.
constexpr int Channels = 8;
constexpr int Messages = Channels * 128;

bool isPrefixState(const std::array<int, Channels>& programs) {
    int boundary = 0;
    while (boundary < Channels && programs[boundary] == programs[0])
        ++boundary;
    for (int c = boundary; c < Channels; ++c) {
        if (programs[c] != programs[0] - 1)
            return false;
    }
    return true;
}

TEST(SynthThreads, MessagesFromAnotherThreadArriveInOrderAcrossBlocks) {
    const auto fonts = soundFontsUnderTest();
    ASSERT_FALSE(fonts.empty()) << NoSoundFontReason;
    OfflineSynth synth(fonts.front());
    ASSERT_NE(synth.engine, nullptr) << synth.reason;

    std::atomic<bool> done{false};
    std::thread producer([&] {
        for (int n = 0; n < Messages;) {
            const auto channel = static_cast<std::uint8_t>(0xC0 | (n % Channels));
            if (synth.port.send(packMidiMessage(channel, static_cast<std::uint8_t>(n / Channels))))
                ++n;
            if (n % 5 == 0)
                std::this_thread::yield(); // let the renderer see partial batches
        }
        done.store(true);
    });

    const std::array<std::size_t, 5> blocks = {0, 1, 63, 64, 65};
    std::vector<float> out(2 * 65);
    std::array<int, Channels> previous{};
    int badStates = 0;
    int notMonotonic = 0;
    for (std::size_t i = 0; !done.load(); ++i) {
        synth.engine->render(out.data(), blocks[i % blocks.size()], 2);
        std::array<int, Channels> programs{};
        for (int c = 0; c < Channels; ++c) {
            programs[c] = synth.engine->channelProgram(c);
            notMonotonic += programs[c] < previous[c];
        }
        badStates += !isPrefixState(programs);
        previous = programs;
    }
    producer.join();
    synth.engine->render(out.data(), 0, 2);
    EXPECT_EQ(badStates, 0);
    EXPECT_EQ(notMonotonic, 0);
    for (int c = 0; c < Channels; ++c)
        EXPECT_EQ(synth.engine->channelProgram(c), 127) << "channel " << c;
}

TEST(SynthThreads, PrefixStateCheckRejectsReorderedMessages) {
    EXPECT_TRUE(isPrefixState({5, 5, 5, 4, 4, 4, 4, 4}));
    EXPECT_TRUE(isPrefixState({5, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_TRUE(isPrefixState({0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(isPrefixState({5, 4, 5, 4, 4, 4, 4, 4}));
    EXPECT_FALSE(isPrefixState({5, 5, 3, 4, 4, 4, 4, 4}));
}

} // namespace
