#include "audio_devices/CaptureRebuffer.h"

#include "recognition/DetectorState.h"

#include <algorithm>
#include <cmath>

namespace tessimo {

namespace {

// Samples converted at a time.
constexpr std::size_t Chunk = 1024;

std::int16_t toSample(float value) {
    const float scaled = std::round(value * 32768.0f);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

} // namespace

CaptureRebuffer::CaptureRebuffer(double deviceRate)
    : buffer_(static_cast<std::size_t>(CaptureBufferSamples)) {
    if (deviceRate != Rate) {
        resampler_ = std::make_unique<Resampler>(deviceRate, Rate);
        in_.resize(Chunk);
        out_.resize(static_cast<std::size_t>(std::ceil(Chunk * resampler_->ratio())) + 64);
    }
}

void CaptureRebuffer::push(const std::int16_t* samples, std::size_t count, CaptureSink& sink) {
    if (resampler_ == nullptr) {
        appendSamples(samples, count, sink);
        return;
    }
    while (count > 0) {
        const std::size_t n = std::min(count, Chunk);
        for (std::size_t i = 0; i < n; ++i)
            in_[i] = static_cast<float>(samples[i]) / 32768.0f;
        std::size_t done = 0;
        while (done < n) {
            std::size_t used = 0;
            const std::size_t made = resampler_->process(in_.data() + done, n - done, out_.data(),
                                                         out_.size(), false, used);
            append(out_.data(), made, sink);
            done += used;
            if (used == 0 && made == 0)
                break; // the converter failed; drop the rest rather than spin
        }
        samples += n;
        count -= n;
    }
}

void CaptureRebuffer::flush(CaptureSink& sink) {
    if (resampler_ != nullptr) {
        for (;;) {
            std::size_t used = 0;
            const std::size_t made =
                resampler_->process(nullptr, 0, out_.data(), out_.size(), true, used);
            if (made == 0)
                break;
            append(out_.data(), made, sink);
        }
        resampler_->reset();
    }
    if (filled_ > 0)
        deliver(sink);
}

void CaptureRebuffer::append(const float* samples, std::size_t count, CaptureSink& sink) {
    while (count > 0) {
        const std::size_t n = std::min(count, buffer_.size() - filled_);
        for (std::size_t i = 0; i < n; ++i)
            buffer_[filled_ + i] = toSample(samples[i]);
        filled_ += n;
        samples += n;
        count -= n;
        if (filled_ == buffer_.size())
            deliver(sink);
    }
}

void CaptureRebuffer::appendSamples(const std::int16_t* samples, std::size_t count,
                                    CaptureSink& sink) {
    while (count > 0) {
        const std::size_t n = std::min(count, buffer_.size() - filled_);
        std::copy_n(samples, n, buffer_.begin() + static_cast<std::ptrdiff_t>(filled_));
        filled_ += n;
        samples += n;
        count -= n;
        if (filled_ == buffer_.size())
            deliver(sink);
    }
}

void CaptureRebuffer::deliver(CaptureSink& sink) {
    const std::size_t count = filled_;
    filled_ = 0;
    ++delivered_;
    sink.onCaptureBuffer(buffer_.data(), count);
}

} // namespace tessimo
