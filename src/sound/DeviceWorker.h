// One background thread that makes the calls into a sound device that can wait on the sound
// server (initialise, open, start, stop, close), so that no other thread ever waits for them.
//
// Jobs run one at a time in the order they are due; posting never waits beyond a short lock
// that no job holds while it runs. A job reports its result itself (atomics, a callback). A
// sound server that is stopped or hung can keep a job waiting for as long as it likes, so the
// owner never joins the thread without a bound: finish() waits at most the bound it is given,
// then leaves the thread running on its own (detached). Such a thread owns only its queue and
// what its jobs captured, so jobs must capture by value (shared pointers) everything they touch,
// never the object that posted them. When the call returns, the thread runs what is left of
// its last job and ends by itself.
//
// The rule for every part of the program that uses the sound library: setup calls that can
// wait on the sound server run on a DeviceWorker (holding portAudioSetupMutex around them),
// never on the user-interface thread, and nothing waits for them without a bound.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace tessimo {

class DeviceWorker {
public:
    using Job = std::function<void()>;
    using Clock = std::chrono::steady_clock;

    // Jobs that may wait at once; posting more fails. Far more than the sound output queues.
    static constexpr std::size_t MaxQueued = 32;

    // A copyable way to post to the worker from its own jobs (to schedule the next step).
    // Posting after finish() fails and drops the job. Any thread.
    class Poster {
    public:
        struct State; // the queue, shared by the thread and every Poster

        bool post(Job job) const { return postAfter(Clock::duration::zero(), std::move(job)); }
        bool postAfter(Clock::duration delay, Job job) const;

    private:
        friend class DeviceWorker;
        explicit Poster(std::shared_ptr<State> state) : state_(std::move(state)) {}
        std::shared_ptr<State> state_;
    };

    // Starts the thread. Any thread.
    DeviceWorker();

    // finish() with no last job and DefaultFinishBound, unless finish() was called already.
    ~DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    // Queues job to run as soon as the thread is free; false when the queue is full or the
    // worker has finished. Any thread; never waits for a running job.
    bool post(Job job) { return poster_.post(std::move(job)); }

    // Queues job to run once delay has passed. Any thread.
    bool postAfter(Clock::duration delay, Job job) {
        return poster_.postAfter(delay, std::move(job));
    }

    Poster poster() const { return poster_; }

    // Drops the jobs that have not started, queues last (when given) to run after the running
    // job, and waits up to bound for the thread to end. Returns true when it ended (and was
    // joined); false when it is still busy and was left to end by itself. Later posts fail.
    // Call once, from the thread that owns the worker.
    bool finish(Job last, Clock::duration bound);

    // How long the job now running has been running; zero when the thread is waiting.
    // Any thread.
    Clock::duration busyFor() const;

    static constexpr Clock::duration DefaultFinishBound = std::chrono::milliseconds(250);

private:
    Poster poster_;
    std::thread thread_;
    bool finished_ = false;
};

} // namespace tessimo
