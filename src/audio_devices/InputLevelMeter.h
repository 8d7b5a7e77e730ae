// The live input level of the sound set-up: a capture sink that measures every buffer on the
// capture thread and publishes the latest level for the user-interface thread to read, and
// that judges a take of a few seconds when asked (see TakeAnalysis). No Qt.
#pragma once

#include "audio_devices/LevelAnalysis.h"
#include "recognition/CaptureDevice.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace tessimo {

class InputLevelMeter final : public CaptureSink {
public:
    // Capture thread: measures the buffer and adds it to a take that is being recorded.
    void onCaptureBuffer(const std::int16_t* samples, std::size_t count) override;

    // The level of the latest buffer; SilenceDb before the first. Any thread.
    BlockLevel latest() const;
    // Buffers measured so far: a reader sees from it whether anything arrives. Any thread.
    std::uint64_t buffersMeasured() const { return buffers_.load(std::memory_order_acquire); }

    // Starts a take of the next `samples` samples (a take under way is dropped). Any thread.
    void startTake(std::size_t samples);
    // True while a take is being recorded. Any thread.
    bool takeRunning() const { return takeLeft_.load(std::memory_order_acquire) > 0; }
    // The judgement of the last finished take, and a count of finished takes (0: none yet), so
    // that a reader tells a new result from one it has shown. Any thread.
    TakeLevels lastTake() const;
    std::uint64_t takesFinished() const { return takes_.load(std::memory_order_acquire); }

private:
    std::atomic<double> rmsDb_{SilenceDb};
    std::atomic<double> peakDb_{SilenceDb};
    std::atomic<bool> clipped_{false};
    std::atomic<std::uint64_t> buffers_{0};

    std::atomic<std::size_t> takeLeft_{0};
    std::atomic<std::uint64_t> takeRequest_{0}; // bumped by startTake
    std::uint64_t takeServed_ = 0;              // capture thread only
    TakeAnalysis take_;                         // capture thread only

    mutable std::mutex resultMutex_;
    TakeLevels result_; // guarded by resultMutex_
    std::atomic<std::uint64_t> takes_{0};
};

} // namespace tessimo
