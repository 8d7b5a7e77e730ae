// What the capture delivers, whatever the device's pieces and rate: 4096-sample buffers at
// 22000 Hz, in order, and a partly filled last one on flush.
#include <gtest/gtest.h>

#include <cmath>

#include "LiveSignals.h"
#include "audio_devices/CaptureRebuffer.h"

namespace tessimo {
namespace {

using namespace tessimo::test;

TEST(CaptureRebuffer, PiecesOfAnySizeBecomeWholeBuffersInOrderAtTheSameRate) {
    std::vector<std::int16_t> input(5 * CaptureBufferSamples + 123);
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = static_cast<std::int16_t>(i * 7 % 30011 - 15000);
    CollectingSink sink;
    CaptureRebuffer rebuffer(22000);
    const std::size_t pieces[] = {0, 1, 4095, 4096, 4097, 3, 2048, 5000};
    std::size_t at = 0;
    for (std::size_t i = 0; at < input.size(); ++i) {
        const std::size_t n = std::min(pieces[i % 8], input.size() - at);
        rebuffer.push(input.data() + at, n, sink);
        at += n;
    }
    EXPECT_EQ(sink.sizes().size(), 5u); // whole buffers only, until the flush
    rebuffer.flush(sink);
    rebuffer.flush(sink); // nothing left: nothing delivered
    const auto sizes = sink.sizes();
    ASSERT_EQ(sizes.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(sizes[i], static_cast<std::size_t>(CaptureBufferSamples));
    EXPECT_EQ(sizes[5], 123u);
    EXPECT_EQ(sink.samples(), input);
}

// A device at another rate: the sound keeps its pitch, level and length.
TEST(CaptureRebuffer, OtherDeviceRatesAreConvertedTo22000) {
    for (const double rate : {44100.0, 48000.0, 16000.0}) {
        const auto n = static_cast<std::size_t>(2 * rate);
        std::vector<std::int16_t> input(n);
        for (std::size_t i = 0; i < n; ++i)
            input[i] = static_cast<std::int16_t>(
                std::lround(8000 * std::sin(2 * M_PI * 440 * static_cast<double>(i) / rate)));
        CollectingSink sink;
        CaptureRebuffer rebuffer(rate);
        for (std::size_t i = 0; i < n; i += 441)
            rebuffer.push(input.data() + i, std::min<std::size_t>(441, n - i), sink);
        rebuffer.flush(sink);
        const auto out = sink.samples();
        EXPECT_NEAR(static_cast<double>(out.size()), 44000.0, 40.0) << rate;
        const auto sizes = sink.sizes();
        for (std::size_t i = 0; i + 1 < sizes.size(); ++i)
            ASSERT_EQ(sizes[i], static_cast<std::size_t>(CaptureBufferSamples)) << rate;
        int crossings = 0;
        double power = 0;
        for (std::size_t i = 1000; i < 43000; ++i) {
            crossings += (out[i - 1] < 0) != (out[i] < 0) ? 1 : 0;
            power += static_cast<double>(out[i]) * out[i];
        }
        EXPECT_NEAR(crossings / 2.0 / (42000 / 22000.0), 440.0, 1.5) << rate;
        EXPECT_NEAR(std::sqrt(power / 42000), 8000 / std::sqrt(2.0), 60.0) << rate;
    }
}

} // namespace
} // namespace tessimo
