// Signals and helpers for the tests that capture from the virtual microphone.
#pragma once

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "recognition/CaptureDevice.h"

namespace tessimo::test {

using SteadyTime = std::chrono::steady_clock;

inline double millisecondsSince(SteadyTime::time_point start) {
    return std::chrono::duration<double, std::milli>(SteadyTime::now() - start).count();
}

// Low white noise of the given peak, from a fixed seed.
inline std::vector<std::int16_t> roomNoise(std::size_t count, int peak = 60,
                                           std::uint32_t seed = 7) {
    std::vector<std::int16_t> s(count);
    for (auto& v : s) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<std::int16_t>(static_cast<int>(seed >> 16) % (2 * peak + 1) - peak);
    }
    return s;
}

// A sine of frequency Hz at 22000 Hz.
inline std::vector<std::int16_t> sine(double hz, double amplitude, std::size_t count) {
    std::vector<std::int16_t> s(count);
    for (std::size_t i = 0; i < count; ++i)
        s[i] = static_cast<std::int16_t>(
            std::lround(amplitude * std::sin(2 * M_PI * hz * static_cast<double>(i) / 22000.0)));
    return s;
}

// Collects every buffer a capture delivers, on the capture thread, under a lock.
class CollectingSink : public CaptureSink {
public:
    void onCaptureBuffer(const std::int16_t* samples, std::size_t count) override {
        std::lock_guard lock(mutex_);
        sizes_.push_back(count);
        samples_.insert(samples_.end(), samples, samples + count);
        changed_.notify_all();
    }
    std::vector<std::size_t> sizes() {
        std::lock_guard lock(mutex_);
        return sizes_;
    }
    std::vector<std::int16_t> samples() {
        std::lock_guard lock(mutex_);
        return samples_;
    }
    // Waits until at least count samples have arrived; false after timeout.
    bool waitFor(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return samples_.size() >= count; });
    }
    void clear() {
        std::lock_guard lock(mutex_);
        sizes_.clear();
        samples_.clear();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::size_t> sizes_;
    std::vector<std::int16_t> samples_;
};

// Messages said by a capture, from its threads.
class Messages {
public:
    void add(const std::string& m) {
        std::lock_guard lock(mutex_);
        said_.push_back(m);
    }
    std::vector<std::string> all() {
        std::lock_guard lock(mutex_);
        return said_;
    }
    bool has(const std::string& m) {
        std::lock_guard lock(mutex_);
        for (const auto& s : said_) {
            if (s == m)
                return true;
        }
        return false;
    }
    bool waitFor(const std::string& m, std::chrono::milliseconds timeout) {
        const auto end = SteadyTime::now() + timeout;
        while (SteadyTime::now() < end) {
            if (has(m))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return has(m);
    }

private:
    std::mutex mutex_;
    std::vector<std::string> said_;
};

} // namespace tessimo::test
