// The device thread: jobs in order of their time, posting that never waits for a running job,
// and a bounded finish that leaves a stuck job running with what it captured.
#include "sound/DeviceWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace tessimo;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// A gate a job waits at until the test opens it, as a call into a stopped server would.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    bool reached = false;

    void waitHere() {
        std::unique_lock lock(mutex);
        reached = true;
        changed.notify_all();
        changed.wait(lock, [this] { return open; });
    }
    void waitUntilReached() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return reached; });
    }
    void release() {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

TEST(DeviceWorker, RunsJobsInTheOrderTheyAreDue) {
    std::mutex mutex;
    std::vector<int> order;
    const auto record = [&](int n) {
        return [&, n] {
            std::lock_guard lock(mutex);
            order.push_back(n);
        };
    };
    {
        DeviceWorker worker;
        auto gate = std::make_shared<Gate>();
        ASSERT_TRUE(worker.post([gate] { gate->waitHere(); })); // holds the rest back
        gate->waitUntilReached();
        ASSERT_TRUE(worker.postAfter(150ms, record(4)));
        ASSERT_TRUE(worker.post(record(1)));
        ASSERT_TRUE(worker.postAfter(50ms, record(3)));
        ASSERT_TRUE(worker.post(record(2)));
        gate->release();
        std::this_thread::sleep_for(400ms);
        EXPECT_TRUE(worker.finish({}, 1s));
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
}

TEST(DeviceWorker, PostingNeverWaitsForARunningJobAndTheQueueIsBounded) {
    DeviceWorker worker;
    auto gate = std::make_shared<Gate>();
    ASSERT_TRUE(worker.post([gate] { gate->waitHere(); }));
    gate->waitUntilReached();
    const auto begin = Clock::now();
    std::size_t accepted = 0;
    for (std::size_t i = 0; i < DeviceWorker::MaxQueued + 5; ++i)
        accepted += worker.post([] {}) ? 1 : 0;
    EXPECT_LT(Clock::now() - begin, 50ms);
    EXPECT_EQ(accepted, DeviceWorker::MaxQueued);
    EXPECT_GT(worker.busyFor(), 0ns);
    gate->release();
    EXPECT_TRUE(worker.finish({}, 1s));
}

TEST(DeviceWorker, FinishRunsTheLastJobAndDropsTheOnesNotStarted) {
    std::atomic<int> ran{0};
    std::atomic<bool> lastRan{false};
    DeviceWorker worker;
    auto gate = std::make_shared<Gate>();
    ASSERT_TRUE(worker.post([gate] { gate->waitHere(); }));
    gate->waitUntilReached();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(worker.post([&] { ++ran; }));
    std::thread releaser([gate] {
        std::this_thread::sleep_for(50ms);
        gate->release();
    });
    EXPECT_TRUE(worker.finish([&] { lastRan = true; }, 1s));
    releaser.join();
    EXPECT_TRUE(lastRan.load());
    EXPECT_EQ(ran.load(), 0);
    EXPECT_FALSE(worker.post([] {})); // finished
}

// A job stuck in a call that does not return: finish gives up after its bound, and the job
// still has what it captured when the call returns later.
TEST(DeviceWorker, FinishLeavesAStuckJobRunningWithWhatItOwns) {
    auto gate = std::make_shared<Gate>();
    auto owned = std::make_shared<std::vector<int>>(1000, 7);
    std::weak_ptr<std::vector<int>> watch = owned;
    auto done = std::make_shared<std::atomic<int>>(0);
    Clock::duration took{};
    {
        DeviceWorker worker;
        ASSERT_TRUE(worker.post([gate, owned = std::move(owned), done] {
            gate->waitHere();
            done->store((*owned)[999]);
        }));
        gate->waitUntilReached();
        const auto begin = Clock::now();
        EXPECT_FALSE(worker.finish([done] { done->fetch_add(1); }, 100ms));
        took = Clock::now() - begin;
    }
    EXPECT_GE(took, 100ms);
    EXPECT_LT(took, 300ms);
    EXPECT_FALSE(watch.expired()); // still owned by the stuck job
    gate->release();
    const auto deadline = Clock::now() + 2s;
    while (!watch.expired() && Clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(watch.expired()); // freed by the thread once the job ended
    EXPECT_EQ(done->load(), 8);   // the job's result, then the last job
}

} // namespace
