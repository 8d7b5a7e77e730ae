// Keeps every judged or missed question of the games in the current user's practice history:
// the engine's outcome port, stamped with the wall time and handed to a history writer of
// that user (whose thread does the disk work). Problems with the file are said once each.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "game/OutcomeSink.h"

namespace tessimo {

class HistoryWriter;

class PracticeHistoryRecorder : public OutcomeSink {
public:
    using Say = std::function<void(const std::string& sentence)>;
    using Judged = std::function<void(const AnswerOutcome& outcome)>;

    // folder: where the history files live ("" for the working directory). say receives a
    // sentence for the status bar about a history that cannot be written; judged every
    // outcome once it is stamped. User-interface thread.
    PracticeHistoryRecorder(std::string folder, Say say, Judged judged);
    // Commits what is queued, waiting at most the writer's close limit. User-interface thread.
    ~PracticeHistoryRecorder() override;
    PracticeHistoryRecorder(const PracticeHistoryRecorder&) = delete;
    PracticeHistoryRecorder& operator=(const PracticeHistoryRecorder&) = delete;

    // Stamps the outcome with the time now and queues it for the outcome's user; never waits
    // for the disk. User-interface thread.
    void onOutcome(const AnswerOutcome& outcome) override;

    // Waits at most limit until what was queued is in the file, so that a reader (the
    // statistics window) sees it. True when nothing is left queued. User-interface thread.
    bool flush(std::chrono::milliseconds limit);

    // Answers recorded into a history file since this recorder was made. User-interface
    // thread.
    std::uint64_t savedCount() const;

private:
    HistoryWriter* writerFor(const std::string& user);
    void sayProblems();

    std::string folder_;
    Say say_;
    Judged judged_;
    std::string user_; // whose history writer_ writes
    std::unique_ptr<HistoryWriter> writer_;
    std::uint64_t savedBefore_ = 0; // by the writers of earlier users
};

} // namespace tessimo
