#include "sound/DeviceWorker.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <vector>

namespace tessimo {

struct DeviceWorker::Poster::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::multimap<Clock::time_point, Job> jobs; // equal times keep their posting order
    bool closing = false;
    bool ended = false;
    // Start of the running job in steady-clock ticks; 0 while waiting.
    std::atomic<Clock::rep> busySince{0};
};

namespace {

using State = DeviceWorker::Poster::State;

void runJobs(const std::shared_ptr<State>& state) {
    std::unique_lock lock(state->mutex);
    for (;;) {
        if (state->jobs.empty()) {
            if (state->closing)
                break;
            state->changed.wait(lock);
            continue;
        }
        const auto first = state->jobs.begin();
        // A copy: the entry may go while the lock is released.
        const DeviceWorker::Clock::time_point due = first->first;
        if (due > DeviceWorker::Clock::now()) {
            state->changed.wait_until(lock, due);
            continue;
        }
        DeviceWorker::Job job = std::move(first->second);
        state->jobs.erase(first);
        state->busySince.store(DeviceWorker::Clock::now().time_since_epoch().count());
        lock.unlock();
        job();
        job = nullptr; // what the job captured goes here, outside the lock
        lock.lock();
        state->busySince.store(0);
    }
    state->ended = true;
    state->changed.notify_all();
}

} // namespace

bool DeviceWorker::Poster::postAfter(Clock::duration delay, Job job) const {
    std::lock_guard lock(state_->mutex);
    if (state_->closing || state_->jobs.size() >= MaxQueued)
        return false;
    state_->jobs.emplace(Clock::now() + delay, std::move(job));
    state_->changed.notify_all();
    return true;
}

DeviceWorker::DeviceWorker() : poster_(std::make_shared<Poster::State>()) {
    // The thread holds the state itself, so it can outlive this object.
    thread_ = std::thread([state = poster_.state_] { runJobs(state); });
}

DeviceWorker::~DeviceWorker() {
    if (!finished_)
        finish({}, DefaultFinishBound);
}

bool DeviceWorker::finish(Job last, Clock::duration bound) {
    finished_ = true;
    const std::shared_ptr<State>& state = poster_.state_;
    std::vector<Job> dropped;
    std::unique_lock lock(state->mutex);
    for (auto& entry : state->jobs)
        dropped.push_back(std::move(entry.second));
    state->jobs.clear();
    if (last)
        state->jobs.emplace(Clock::now(), std::move(last));
    state->closing = true;
    state->changed.notify_all();
    lock.unlock();
    dropped.clear();

    lock.lock();
    const bool ended = state->changed.wait_for(lock, bound, [&] { return state->ended; });
    lock.unlock();
    if (ended)
        thread_.join();
    else
        thread_.detach(); // it ends by itself once the call it waits in returns
    return ended;
}

DeviceWorker::Clock::duration DeviceWorker::busyFor() const {
    const Clock::rep since = poster_.state_->busySince.load();
    if (since == 0)
        return Clock::duration::zero();
    return Clock::now().time_since_epoch() - Clock::duration(since);
}

} // namespace tessimo
