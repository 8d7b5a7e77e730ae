// Turns what a capture device delivers, in pieces of any length at its own rate, into the
// recogniser's buffers: exactly CaptureBufferSamples samples at 22000 Hz, in order, converting
// the rate when the device runs at another. Capture thread only (not real time); allocates
// nothing after construction.
#pragma once

#include "recognition/CaptureDevice.h"
#include "recognition/DetectorState.h"
#include "sound/Resampler.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tessimo {

class CaptureRebuffer {
public:
    static constexpr double Rate = 22000;

    // deviceRate: the rate the samples given to push() have.
    explicit CaptureRebuffer(double deviceRate);

    // Adds count samples; every buffer that fills goes to sink at once.
    void push(const std::int16_t* samples, std::size_t count, CaptureSink& sink);

    // Delivers what is left (including what the rate converter holds back) as a last, partly
    // filled buffer, if anything is left, and starts afresh.
    void flush(CaptureSink& sink);

    // Buffers delivered since construction.
    std::size_t buffersDelivered() const { return delivered_; }

private:
    void append(const float* samples, std::size_t count, CaptureSink& sink);
    void appendSamples(const std::int16_t* samples, std::size_t count, CaptureSink& sink);
    void deliver(CaptureSink& sink);

    std::unique_ptr<Resampler> resampler_; // null at 22000 Hz
    std::vector<std::int16_t> buffer_;
    std::size_t filled_ = 0;
    std::vector<float> in_;
    std::vector<float> out_;
    std::size_t delivered_ = 0;
};

} // namespace tessimo
