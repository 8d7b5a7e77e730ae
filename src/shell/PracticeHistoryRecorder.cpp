#include "shell/PracticeHistoryRecorder.h"

#include "history/HistoryFileName.h"
#include "history/HistoryWriter.h"

namespace tessimo {

PracticeHistoryRecorder::PracticeHistoryRecorder(std::string folder, Say say, Judged judged)
    : folder_(std::move(folder)), say_(std::move(say)), judged_(std::move(judged)) {}

PracticeHistoryRecorder::~PracticeHistoryRecorder() = default;

void PracticeHistoryRecorder::onOutcome(const AnswerOutcome& outcome) {
    AnswerOutcome stamped = outcome;
    stamped.atMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
    if (HistoryWriter* writer = writerFor(stamped.user)) {
        writer->record(stamped);
        sayProblems();
    }
    if (judged_) {
        judged_(stamped);
    }
}

bool PracticeHistoryRecorder::flush(std::chrono::milliseconds limit) {
    if (writer_ == nullptr) {
        return true;
    }
    const bool done = writer_->flush(limit);
    sayProblems();
    return done;
}

std::uint64_t PracticeHistoryRecorder::savedCount() const {
    return savedBefore_ + (writer_ != nullptr ? writer_->savedCount() : 0);
}

// The writer of another user is closed (committing what it holds) before the next one opens;
// a name the file rules refuse has no history, and its games go on without one.
HistoryWriter* PracticeHistoryRecorder::writerFor(const std::string& user) {
    if (writer_ != nullptr && user == user_) {
        return writer_.get();
    }
    if (writer_ != nullptr) {
        savedBefore_ += writer_->savedCount();
        writer_.reset();
    }
    user_ = user;
    const std::optional<std::string> path = historyFilePath(user, folder_);
    if (!path) {
        return nullptr;
    }
    writer_ = std::make_unique<HistoryWriter>(*path);
    return writer_.get();
}

void PracticeHistoryRecorder::sayProblems() {
    if (writer_ == nullptr || !say_) {
        return;
    }
    while (std::optional<std::string> message = writer_->takeMessage()) {
        say_(*message);
    }
}

} // namespace tessimo
