#include "history/HistoryWriter.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iterator>
#include <mutex>
#include <utility>

namespace tessimo {

struct HistoryWriter::State {
    std::string path;
    std::mutex mutex;
    std::condition_variable wake;     // the writer: work, a retry, or stop
    std::condition_variable progress; // flush and close: a batch ended, or the writer did
    std::deque<AnswerOutcome> queue;  // recorded, not yet taken by the writer
    std::size_t pending = 0;          // taken by the writer and not yet written
    std::uint64_t recorded = 0;       // answers ever accepted by record()
    std::uint64_t saved = 0;          // ... committed to the file
    std::uint64_t dropped = 0;        // ... given up (queue bound, refused file, close)
    std::uint64_t attempts = 0;       // batches tried
    std::uint64_t droppedAtFlush = 0; // dropped when the last flush returned
    bool failing = false;             // the last attempt failed: retry on a timer, not per answer
    bool refused = false;             // the file is not ours: nothing is ever written
    bool retryNow = false;
    bool stopping = false;
    bool stopped = false;
    HistoryProblem problem;
    std::optional<std::string> message;
};

namespace {

bool permanent(HistoryFailure failure) {
    return failure == HistoryFailure::NotRegularFile || failure == HistoryFailure::Foreign ||
           failure == HistoryFailure::Damaged || failure == HistoryFailure::Newer;
}

} // namespace

HistoryWriter::HistoryWriter(std::string path) : state_(std::make_shared<State>()) {
    state_->path = std::move(path);
    thread_ = std::thread([state = state_] { run(*state); });
}

HistoryWriter::~HistoryWriter() {
    close(CloseLimit);
}

void HistoryWriter::record(const AnswerOutcome& answer) {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->stopping) {
            return;
        }
        ++state_->recorded;
        if (state_->refused) {
            ++state_->dropped;
            return;
        }
        state_->queue.push_back(answer);
        if (state_->failing) {
            return; // retried on the timer: no disk attempt per answer while failing
        }
    }
    state_->wake.notify_one();
}

bool HistoryWriter::flush(std::chrono::milliseconds limit) {
    std::unique_lock lock(state_->mutex);
    const std::uint64_t target = state_->recorded;
    const std::uint64_t attemptsBefore = state_->attempts;
    auto done = [&] { return state_->saved + state_->dropped >= target; };
    if (!done() && !state_->stopped) {
        state_->retryNow = true;
        state_->wake.notify_one();
        state_->progress.wait_for(lock, limit, [&] {
            return done() || state_->stopped ||
                   (state_->failing && state_->attempts > attemptsBefore);
        });
    }
    const bool allSaved = done() && state_->dropped == state_->droppedAtFlush;
    state_->droppedAtFlush = state_->dropped;
    return allSaved;
}

bool HistoryWriter::close(std::chrono::milliseconds limit) {
    if (!thread_.joinable()) {
        std::lock_guard lock(state_->mutex);
        return state_->queue.empty() && state_->pending == 0;
    }
    bool finished = false;
    bool allSaved = false;
    {
        std::unique_lock lock(state_->mutex);
        state_->stopping = true;
        state_->wake.notify_one();
        finished = state_->progress.wait_for(lock, limit, [&] { return state_->stopped; });
        allSaved = finished && state_->saved + state_->dropped == state_->recorded &&
                   state_->queue.empty() && state_->pending == 0 && state_->dropped == 0;
    }
    if (finished) {
        thread_.join();
    } else {
        thread_.detach(); // stuck on the disk; it ends on its own and frees the state
    }
    return allSaved;
}

std::uint64_t HistoryWriter::savedCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->saved;
}

std::size_t HistoryWriter::queuedCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->queue.size() + state_->pending;
}

std::optional<std::string> HistoryWriter::takeMessage() {
    std::lock_guard lock(state_->mutex);
    return std::exchange(state_->message, std::nullopt);
}

HistoryProblem HistoryWriter::problem() const {
    std::lock_guard lock(state_->mutex);
    return state_->problem;
}

void HistoryWriter::run(State& state) {
    HistoryDatabase db;
    std::deque<AnswerOutcome> fresh;
    std::deque<AnswerOutcome> pending; // not yet written, oldest first; this thread's only
    bool firstOpen = true;
    std::unique_lock lock(state.mutex);
    while (true) {
        if (!firstOpen) {
            auto ready = [&] {
                return state.stopping || state.retryNow || (!state.failing && !state.queue.empty());
            };
            if (state.failing) {
                state.wake.wait_for(lock, RetryInterval, ready);
            } else {
                state.wake.wait(lock, ready);
            }
            if (state.queue.empty() && pending.empty()) {
                if (state.stopping) {
                    break;
                }
                state.retryNow = false;
                ++state.attempts;
                state.progress.notify_all();
                continue;
            }
        }
        const bool stopping = state.stopping;
        state.retryNow = false;
        fresh.swap(state.queue);
        const std::size_t taken = fresh.size();
        state.pending += taken;
        lock.unlock();

        // The disk, and any work in proportion to the queue, only here with the lock released.
        std::move(fresh.begin(), fresh.end(), std::back_inserter(pending));
        fresh.clear();
        std::size_t excess = 0;
        if (pending.size() > MaxQueued) { // the oldest unsaved answers go first
            excess = pending.size() - MaxQueued;
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(excess));
        }
        HistoryProblem problem;
        if (!db.isOpen()) {
            db = HistoryDatabase::open(state.path, HistoryDatabase::Access::ReadWrite, problem);
        }
        const bool opened = db.isOpen();
        const bool ok = opened && (pending.empty() || db.insert(pending, problem));
        const bool refused = !ok && !opened && permanent(problem.failure);
        std::size_t committed = 0;
        if (ok) {
            committed = pending.size();
            pending.clear();
        } else if (refused) {
            excess += pending.size();
            pending.clear();
        }

        lock.lock();
        firstOpen = false;
        ++state.attempts;
        state.saved += committed;
        state.dropped += excess;
        state.pending = pending.size();
        if (ok) {
            if (state.failing) {
                state.message = "The practice history is saved again.";
            }
            state.failing = false;
            state.problem = {};
        } else {
            const bool newProblem = problem.message != state.problem.message;
            state.problem = problem;
            if (refused) {
                state.refused = true;
                state.dropped += state.queue.size();
                state.queue.clear(); // nothing recorded yet after this moment is kept either
                if (newProblem) {
                    state.message = problem.message;
                }
            } else if (newProblem) {
                state.message = problem.message +
                                " The answers are kept and saved as soon as it can be written.";
            }
            state.failing = !state.refused;
        }
        state.progress.notify_all();
        if (state.refused && !state.stopping) {
            continue; // nothing will ever be written; wait for the stop
        }
        if (stopping && !ok) {
            break; // closing: one last attempt only
        }
    }
    state.dropped += state.queue.size() + pending.size();
    state.queue.clear();
    state.pending = 0;
    state.stopped = true;
    state.progress.notify_all();
}

} // namespace tessimo
