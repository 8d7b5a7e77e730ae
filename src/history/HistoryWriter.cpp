#include "history/HistoryWriter.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace tessimo {

struct HistoryWriter::State {
    std::string path;
    std::mutex mutex;
    std::condition_variable wake;     // the writer: work, a retry, or stop
    std::condition_variable progress; // flush and close: a batch ended, or the writer did
    std::deque<AnswerOutcome> queue;
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
        if (state_->queue.size() >= MaxQueued) {
            state_->queue.erase(state_->queue.begin()); // the oldest unsaved answer goes
            ++state_->dropped;
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
        return state_->queue.empty();
    }
    bool finished = false;
    bool allSaved = false;
    {
        std::unique_lock lock(state_->mutex);
        state_->stopping = true;
        state_->wake.notify_one();
        finished = state_->progress.wait_for(lock, limit, [&] { return state_->stopped; });
        allSaved = finished && state_->saved + state_->dropped == state_->recorded &&
                   state_->queue.empty() && state_->dropped == 0;
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
    return state_->queue.size();
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
    std::deque<AnswerOutcome> batch;
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
            if (state.queue.empty()) {
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
        batch.swap(state.queue);
        lock.unlock();

        // The disk is reached only here, with the lock released.
        HistoryProblem problem;
        if (!db.isOpen()) {
            db = HistoryDatabase::open(state.path, HistoryDatabase::Access::ReadWrite, problem);
        }
        const bool opened = db.isOpen();
        const bool ok = opened && (batch.empty() || db.insert(batch, problem));
        const std::size_t committed = ok ? batch.size() : 0;
        if (ok) {
            batch.clear(); // freed outside the lock that record() waits for
        }

        lock.lock();
        firstOpen = false;
        ++state.attempts;
        if (ok) {
            state.saved += committed;
            if (state.failing) {
                state.message = "The practice history is saved again.";
            }
            state.failing = false;
            state.problem = {};
        } else {
            const bool newProblem = problem.message != state.problem.message;
            state.problem = problem;
            if (!opened && permanent(problem.failure)) {
                state.refused = true;
                state.dropped += batch.size() + state.queue.size();
                state.queue.clear();
                batch.clear();
                if (newProblem) {
                    state.message = problem.message;
                }
            } else {
                // Put the batch back before what arrived meanwhile, within the bound.
                batch.insert(batch.end(), state.queue.begin(), state.queue.end());
                state.queue.swap(batch);
                batch.clear();
                if (state.queue.size() > MaxQueued) {
                    const std::size_t excess = state.queue.size() - MaxQueued;
                    state.queue.erase(state.queue.begin(),
                                      state.queue.begin() + static_cast<long>(excess));
                    state.dropped += excess;
                }
                if (newProblem) {
                    state.message = problem.message +
                                    " The answers are kept and saved as soon as it can be written.";
                }
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
    state.dropped += state.queue.size();
    state.queue.clear();
    state.stopped = true;
    state.progress.notify_all();
}

} // namespace tessimo
