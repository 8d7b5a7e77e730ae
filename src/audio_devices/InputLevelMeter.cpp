#include "audio_devices/InputLevelMeter.h"

#include <algorithm>

namespace tessimo {

void InputLevelMeter::onCaptureBuffer(const std::int16_t* samples, std::size_t count) {
    const BlockLevel level = measureLevel(samples, count);
    rmsDb_.store(level.rmsDb, std::memory_order_relaxed);
    peakDb_.store(level.peakDb, std::memory_order_relaxed);
    clipped_.store(level.clipped, std::memory_order_relaxed);
    buffers_.fetch_add(1, std::memory_order_release);

    const std::uint64_t request = takeRequest_.load(std::memory_order_acquire);
    if (request != takeServed_) {
        takeServed_ = request;
        take_.clear();
    }
    const std::size_t left = takeLeft_.load(std::memory_order_acquire);
    if (left == 0)
        return;
    const std::size_t used = std::min(left, count);
    take_.add(samples, used);
    if (used < left) {
        takeLeft_.store(left - used, std::memory_order_release);
        return;
    }
    {
        std::lock_guard lock(resultMutex_);
        result_ = take_.result();
    }
    take_.clear();
    takes_.fetch_add(1, std::memory_order_release);
    takeLeft_.store(0, std::memory_order_release);
}

BlockLevel InputLevelMeter::latest() const {
    return {rmsDb_.load(std::memory_order_relaxed), peakDb_.load(std::memory_order_relaxed),
            clipped_.load(std::memory_order_relaxed)};
}

void InputLevelMeter::startTake(std::size_t samples) {
    takeRequest_.fetch_add(1, std::memory_order_acq_rel);
    takeLeft_.store(samples, std::memory_order_release);
}

TakeLevels InputLevelMeter::lastTake() const {
    std::lock_guard lock(resultMutex_);
    return result_;
}

} // namespace tessimo
