// Keeps a user's answers in the practice history without making the user-interface thread
// wait for the disk: record() only appends to a queue, and a writer thread of its own opens
// the database and commits what is queued in one transaction at a time. When the history
// cannot be written (refused file, full disk, read-only folder) the answers stay queued (up
// to a bound), the problem is reported once, and the game goes on. No Qt.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "history/AnswerOutcome.h"
#include "history/HistoryDatabase.h"

namespace tessimo {

class HistoryWriter {
public:
    // Answers kept in memory while they cannot be written; older ones are dropped beyond it.
    static constexpr std::size_t MaxQueued = 100000;
    // A failed write is tried again after this long, or at the next flush.
    static constexpr std::chrono::milliseconds RetryInterval{5000};

    // Starts the writer thread, which opens (or creates) the history at path. Any thread.
    explicit HistoryWriter(std::string path);
    // Stops the writer after committing what is queued, waiting at most CloseLimit.
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    static constexpr std::chrono::milliseconds CloseLimit{2000};

    // Queues one answer. Takes a lock that the writer thread holds only to swap the queue
    // (never across a disk access), so it returns in microseconds. Any thread.
    void record(const AnswerOutcome& answer);

    // Waits until everything recorded before the call is committed or has failed, at most
    // limit. True when every answer recorded since the previous flush (or the start) is in
    // the file. Any thread but the writer's.
    bool flush(std::chrono::milliseconds limit);

    // Commits what is queued (at most limit) and ends the writer thread; later record() calls
    // are ignored. Answers still unsaved at the limit are lost, and the result is false.
    bool close(std::chrono::milliseconds limit);

    // Answers committed to the file since the writer started. Any thread.
    std::uint64_t savedCount() const;
    // Answers waiting to be written. Any thread.
    std::size_t queuedCount() const;

    // A problem not yet reported (one sentence for the status bar), once per problem; the
    // sentence for the return to normal after a problem. Any thread.
    std::optional<std::string> takeMessage();

    // The last problem, or none while the history is written normally. Any thread.
    HistoryProblem problem() const;

private:
    struct State;
    static void run(State& state);

    // Shared with the writer thread, so that a thread still stuck on the disk when close()
    // gives up can finish on its own after this object is gone.
    std::shared_ptr<State> state_;
    std::thread thread_;
};

} // namespace tessimo
