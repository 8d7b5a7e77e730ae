// Ends the whole test program when a step takes longer than it may, so that a regression to a
// blocking call (opening a named pipe, say) fails the test run instead of hanging it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace tessimo::testing {

// Armed on construction, disarmed on destruction. Any thread may own it.
class Watchdog {
public:
    Watchdog(std::string what, std::chrono::milliseconds limit = std::chrono::seconds(5))
        : what_(std::move(what)), thread_([this, limit] { watch(limit); }) {}
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

private:
    void watch(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        if (!wake_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "FAILED: %s did not finish within %lld ms (it blocks)\n",
                         what_.c_str(), static_cast<long long>(limit.count()));
            std::fflush(stderr);
            std::_Exit(3);
        }
    }

    std::string what_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

} // namespace tessimo::testing
