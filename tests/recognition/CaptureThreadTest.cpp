// The recogniser fed by a capture device that runs its own thread, as the real capture will.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "Signals.h"
#include "recognition/CRecognizer.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

// Delivers the samples given to play() in 4096-sample buffers from its own thread, then waits
// for stop(). Keeps the device contract: stop() returns after the last delivery.
class ThreadedCapture : public CaptureDevice {
public:
    ~ThreadedCapture() override { stop(); }

    void play(Samples s) { pending_ = std::move(s); }

    void start(CaptureSink& sink) override {
        if (thread_.joinable()) {
            return;
        }
        ++starts_;
        delivered_ = false;
        stopping_ = false;
        thread_ = std::thread([this, &sink, s = std::move(pending_)] {
            for (std::size_t i = 0; i < s.size(); i += CaptureBufferSamples) {
                sink.onCaptureBuffer(s.data() + i,
                                     std::min<std::size_t>(CaptureBufferSamples, s.size() - i));
            }
            std::unique_lock lock(mutex_);
            delivered_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return stopping_; });
        });
        pending_.clear();
    }

    void stop() override {
        if (!thread_.joinable()) {
            return;
        }
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    // Waits until everything given to play() has been delivered. User-interface thread.
    void waitDelivered() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return delivered_; });
    }

    int starts() const { return starts_; }

private:
    Samples pending_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool delivered_ = false;
    bool stopping_ = false;
    int starts_ = 0;
};

// Receives recognised slots on the capture thread and hands them over under a lock.
struct Inbox {
    std::mutex mutex;
    std::vector<int> slots;
    static void callback(int slot, void* context) {
        auto* inbox = static_cast<Inbox*>(context);
        std::lock_guard lock(inbox->mutex);
        inbox->slots.push_back(slot);
    }
    std::vector<int> take() {
        std::lock_guard lock(mutex);
        return std::exchange(slots, {});
    }
};

TEST(CaptureThread, MeasureRecordAndRecogniseAcrossThreads) {
    ThreadedCapture capture;
    CRecognizer r(&capture);
    const Samples floor = noise(40, 4 * CaptureBufferSamples, 3);
    const Samples low = concat({chirp(250, 600, 7000, 3 * CaptureBufferSamples), floor});
    const Samples high = concat({chirp(1800, 1200, 7000, 3 * CaptureBufferSamples), floor});

    capture.play(floor);
    r.StartNoiseMeasure();
    capture.waitDelivered();
    r.StopCapture();
    EXPECT_GT(r.noiseLevel(), 0.0f);

    capture.play(low);
    r.StartWordRecording(10);
    capture.waitDelivered();
    r.StopCapture();
    capture.play(high);
    r.StartWordRecording(20);
    capture.waitDelivered();
    r.StopCapture();
    ASSERT_GT(r.slot(10).frames.GetSize(), 0);
    ASSERT_GT(r.slot(20).frames.GetSize(), 0);
    r.SetCandidate(10, true);
    r.SetCandidate(20, true);

    Inbox inbox;
    capture.play(concat({floor, high, floor, low, high}));
    r.StartRecognition(&Inbox::callback, &inbox);
    r.SetCandidate(30, true); // candidates may change while recognition runs
    capture.waitDelivered();
    EXPECT_EQ(r.StopCapture(), 0);
    EXPECT_EQ(inbox.take(), (std::vector<int>{20, 10, 20}));
    EXPECT_EQ(capture.starts(), 4);
}

TEST(CaptureThread, StartingAgainStopsTheRunningCaptureFirst) {
    ThreadedCapture capture;
    CRecognizer r(&capture);
    capture.play(noise(40, 2 * CaptureBufferSamples));
    r.StartWordRecording(1);
    capture.waitDelivered();
    r.StartWordRecording(2); // stops the first capture, restarts with an empty slot
    EXPECT_EQ(r.slot(1).length(), 2u * 2 * CaptureBufferSamples); // untrimmed
    EXPECT_EQ(r.slot(2).length(), 0u);
    r.StopCapture();
    EXPECT_EQ(capture.starts(), 2);
}

} // namespace
} // namespace tessimo
