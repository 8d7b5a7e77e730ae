#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "HistoryTestSupport.h"
#include "history/HistoryQueries.h"
#include "history/HistoryWriter.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;
using namespace std::chrono_literals;

std::string count(const std::string& path, const std::string& where = "1") {
    SqliteConnection raw = rawOpen(path, SQLITE_OPEN_READONLY);
    return rawValue(raw.get(), "SELECT count(*) FROM answer WHERE " + where);
}

TEST(HistoryWriter, RecordedAnswersReachTheFileInOrder) {
    TempFolder folder;
    const std::string path = folder.file("historyalto.sqlite");
    HistoryWriter writer(path);
    for (int i = 0; i < 1000; ++i) {
        writer.record(note(48 + i % 30, 48 + i % 30, Outcome::Right, i, Exercise::Recognize,
                           AnswerInput::Voice, i));
    }
    ASSERT_TRUE(writer.flush(10s));
    EXPECT_EQ(writer.savedCount(), 1000u);
    EXPECT_EQ(writer.queuedCount(), 0u);
    EXPECT_FALSE(writer.takeMessage());
    EXPECT_EQ(count(path), "1000");
    // Stored in the order recorded.
    EXPECT_EQ(count(path, "id - 1 <> at_ms"), "0");

    // A reader sees the answers while the writer keeps writing (WAL).
    HistoryProblem problem;
    HistoryQueries queries(path, problem);
    ASSERT_TRUE(queries.isOpen()) << problem.message;
    std::thread more([&] {
        for (int i = 1000; i < 1500; ++i) {
            writer.record(
                note(60, 60, Outcome::Right, 300, Exercise::Recognize, AnswerInput::Voice, i));
        }
    });
    int total = 0;
    for (const PitchStatistics& s : queries.pitchStatistics({})) {
        total += s.asked();
    }
    more.join();
    EXPECT_GE(total, 1000);
    EXPECT_TRUE(writer.close(5s));
    EXPECT_EQ(count(path), "1500");
    writer.record(note(60, 60, Outcome::Right)); // after close: ignored
    EXPECT_EQ(writer.savedCount(), 1500u);
}

TEST(HistoryWriter, AFullDiskKeepsTheAnswersAndSavesThemLater) {
    TempFolder folder;
    const std::string path = folder.file("history.sqlite");
    HistoryWriter writer(path);
    writer.record(note(60, 60, Outcome::Right));
    ASSERT_TRUE(writer.flush(10s));

    // A size limit stops the writes as a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    for (int i = 0; i < 4000; ++i) {
        writer.record(note(60, 62, Outcome::Wrong));
    }
    const bool flushedWhileFull = writer.flush(10s);
    const HistoryProblem problem = writer.problem();
    const std::optional<std::string> message = writer.takeMessage();
    writer.record(note(61, 61, Outcome::Right)); // the game goes on
    const std::size_t queued = writer.queuedCount();
    const std::uint64_t savedWhileFull = writer.savedCount();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(flushedWhileFull);
    EXPECT_EQ(problem.failure, HistoryFailure::CannotWrite);
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("file size limit"), std::string::npos) << *message;
    EXPECT_NE(message->find("kept"), std::string::npos) << *message;
    // Nothing lost: what did not fit (the first batches may have) is waiting.
    EXPECT_GT(queued, 3000u);
    EXPECT_EQ(savedWhileFull + queued, 4002u);

    ASSERT_TRUE(writer.flush(10s));
    EXPECT_EQ(writer.savedCount(), 4002u);
    EXPECT_EQ(writer.takeMessage(), "The practice history is saved again.");
    EXPECT_FALSE(writer.problem());
    EXPECT_TRUE(writer.close(5s));
    EXPECT_EQ(count(path), "4002");
    SqliteConnection raw = rawOpen(path, SQLITE_OPEN_READONLY);
    EXPECT_EQ(rawValue(raw.get(), "PRAGMA integrity_check"), "ok");
}

// Runs body in a child process and returns its exit status; body's failures come back as
// text on the pipe.
int inChild(const std::function<std::string()>& body, std::string& report) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const std::string text = body();
        if (::write(fds[1], text.data(), text.size()) < 0) {
            ::_exit(3);
        }
        ::_exit(text.empty() ? 0 : 1);
    }
    ::close(fds[1]);
    char buffer[4096];
    long got = 0;
    while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0) {
        report.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// The user may not write the folder. Root may write any folder, so as root the check runs in
// a child that has become the unprivileged user "nobody" (65534) and owns the folder.
TEST(HistoryWriter, AReadOnlyFolderIsReportedAndTheAnswersWait) {
    TempFolder folder;
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
        ASSERT_EQ(::chown(folder.path().c_str(), 65534, 65534), 0);
    }
    const std::string path = folder.file("historytenor.sqlite");
    std::string report;
    const int status = inChild(
        [&]() -> std::string {
            if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                return "skip: cannot become an unprivileged user";
            }
            if (::chmod(folder.path().c_str(), 0555) != 0) {
                return "chmod failed";
            }
            std::string failures;
            {
                HistoryWriter writer(path);
                for (int i = 0; i < 10; ++i) {
                    writer.record(note(60, 60, Outcome::Right));
                }
                if (writer.flush(5s)) {
                    failures += "flush reported success; ";
                }
                const std::optional<std::string> message = writer.takeMessage();
                if (!message || message->find("cannot be created") == std::string::npos ||
                    message->find("permission denied") == std::string::npos) {
                    failures += "message: " + message.value_or("none") + "; ";
                }
                if (writer.problem().failure != HistoryFailure::CannotOpen) {
                    failures += "not CannotOpen; ";
                }
                writer.record(note(62, 62, Outcome::Right));
                if (writer.queuedCount() != 11) {
                    failures += "queued " + std::to_string(writer.queuedCount()) + "; ";
                }
                ::chmod(folder.path().c_str(), 0755); // the user mends it
                if (!writer.flush(5s) || writer.savedCount() != 11) {
                    failures += "not saved after the folder became writable; ";
                }
            }
            return failures;
        },
        report);
    if (report.rfind("skip:", 0) == 0) {
        GTEST_SKIP() << report;
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << report;
    EXPECT_EQ(count(path), "11");
}

// A writer killed at any moment, typically inside a transaction, loses no answer it reported
// saved and leaves a file that passes the integrity check and opens again.
TEST(HistoryWriter, AKillDuringABatchLosesNothingReportedSaved) {
    TempFolder folder;
    const std::string path = folder.file("historykill.sqlite");
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        HistoryWriter writer(path);
        std::uint64_t reported = 0;
        for (std::int64_t i = 0;; ++i) {
            // Never so far ahead that the queue's bound drops answers: then the saved ones
            // are exactly the first ones.
            while (writer.queuedCount() > 5000) {
                std::this_thread::sleep_for(1ms);
            }
            writer.record(note(48 + static_cast<int>(i % 36), 50, Outcome::Wrong, 700,
                               Exercise::NotesDictation, AnswerInput::Mouse, i));
            const std::uint64_t saved = writer.savedCount();
            if (saved != reported) {
                reported = saved;
                if (::write(fds[1], &reported, sizeof reported) != sizeof reported) {
                    ::_exit(2);
                }
            }
        }
    }
    ::close(fds[1]);
    std::uint64_t lastReported = 0;
    std::uint64_t value = 0;
    while (lastReported < 20000 && ::read(fds[0], &value, sizeof value) == sizeof value) {
        lastReported = value;
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    // Anything the child reported before it died counts.
    while (::read(fds[0], &value, sizeof value) == sizeof value) {
        lastReported = value;
    }
    ::close(fds[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(lastReported, 20000u);

    {
        SqliteConnection raw = rawOpen(path, SQLITE_OPEN_READWRITE);
        EXPECT_EQ(rawValue(raw.get(), "PRAGMA integrity_check"), "ok");
        const std::string below = rawValue(raw.get(), "SELECT count(*) FROM answer WHERE at_ms < " +
                                                          std::to_string(lastReported));
        EXPECT_EQ(below, std::to_string(lastReported));
        // No answer twice, none out of order.
        EXPECT_EQ(rawValue(raw.get(), "SELECT count(*) FROM answer WHERE id - 1 <> at_ms"), "0");
    }
    HistoryWriter again(path);
    again.record(note(60, 60, Outcome::Right));
    EXPECT_TRUE(again.flush(10s));
    EXPECT_FALSE(again.takeMessage());
}

TEST(HistoryWriter, ARefusedFileIsReportedOnceAndNeverWritten) {
    TempFolder folder;
    const std::string path = folder.file("history.sqlite");
    const Bytes foreign = {'n', 'o', 't', ' ', 'a', ' ', 'd', 'b', '\n'};
    writeBytes(path, foreign);
    HistoryWriter writer(path);
    writer.record(note(60, 60, Outcome::Right));
    EXPECT_FALSE(writer.flush(5s));
    const std::optional<std::string> message = writer.takeMessage();
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("is not a practice history"), std::string::npos) << *message;
    writer.record(note(62, 62, Outcome::Right));
    EXPECT_FALSE(writer.flush(5s));
    EXPECT_FALSE(writer.takeMessage()); // said once
    EXPECT_EQ(writer.queuedCount(), 0u);
    EXPECT_FALSE(writer.close(5s));
    EXPECT_EQ(readBytes(path), foreign);
    EXPECT_FALSE(fs::exists(path + "-wal"));
}

} // namespace
} // namespace tessimo
