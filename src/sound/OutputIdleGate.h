// Decides when an output stream may stop because it only plays silence, and hands the restart
// to the thread that queues the next sound (which passes it on to the thread that starts
// streams), so that nothing queued is ever left waiting for a stream that has stopped.
//
// The audio thread reports each block; after IdleAfter frames of exact silence with nothing
// pending it marks the gate Idle and its stream finishes. The producer queues its work, then
// calls claimRestart(); exactly one of the two threads sees the other's step:
//   audio:    state = Idle, fence, look for pending work
//   producer: queue work,   fence, look at state
// Either the audio thread sees the work and takes the gate back (the stream keeps running),
// or the producer sees Idle and restarts the stream (or both, and the compare-exchange picks
// one). Lock-free and allocation-free on both sides.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tessimo {

class OutputIdleGate {
public:
    enum class State { Running, Idle, Restarting };

    // idleFrames: frames of exact silence after which the stream may stop. Any thread.
    explicit OutputIdleGate(std::uint64_t idleFrames) : idleFrames_(idleFrames) {}

    // After each block: silent is true when the block was exactly 0, pendingWork() whether
    // anything is queued or playing that the next blocks must render. Returns false when the
    // stream should finish after this block. Audio thread only; never allocates, locks or
    // waits (as long as pendingWork does not).
    template <typename Pending>
    bool continueAfterBlock(bool silent, std::size_t frames, Pending&& pendingWork) noexcept {
        if (!silent) {
            silentFrames_ = 0;
            return true;
        }
        silentFrames_ += frames;
        if (silentFrames_ < idleFrames_ || pendingWork())
            return true;
        State expected = State::Running;
        if (!state_.compare_exchange_strong(expected, State::Idle)) {
            silentFrames_ = 0; // already stopping
            return false;
        }
        std::atomic_thread_fence(std::memory_order_seq_cst);
        if (pendingWork()) {
            // Work arrived while stopping: keep running unless the producer already took the
            // restart, in which case it stops and starts the stream again itself.
            expected = State::Idle;
            if (state_.compare_exchange_strong(expected, State::Running))
                return true;
        }
        silentFrames_ = 0;
        return false;
    }

    // After queuing work: true when the stream has stopped (or is stopping) and the caller
    // must have it restarted, then restarted() called. Producer thread only; never waits.
    bool claimRestart() noexcept {
        std::atomic_thread_fence(std::memory_order_seq_cst);
        if (state_.load() != State::Idle)
            return false;
        State expected = State::Idle;
        return state_.compare_exchange_strong(expected, State::Restarting);
    }

    // After a successful claimRestart: call just before starting the stream again (the next
    // block is its first), or with running false when the restart failed or could not be
    // asked for, so that the next claimRestart tries again. The one thread that restarts the
    // stream (or the producer, when it could not hand the restart on).
    void restarted(bool running) noexcept { state_.store(running ? State::Running : State::Idle); }

    // Any thread.
    State state() const noexcept { return state_.load(); }
    bool isIdle() const noexcept { return state_.load() != State::Running; }

private:
    const std::uint64_t idleFrames_;
    // Audio thread only; back at 0 whenever the gate goes idle.
    std::uint64_t silentFrames_ = 0;
    std::atomic<State> state_{State::Running};
};

} // namespace tessimo
