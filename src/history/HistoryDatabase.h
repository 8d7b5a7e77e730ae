// One user's practice history file: an SQLite database in WAL mode, recognised by its
// application id and brought to the current schema version by migrations. A file that is
// not such a history (another program's database, any other file, a damaged one, one from a
// newer version of the program) is refused and never written. No Qt; the object belongs to
// one thread at a time.
#pragma once

#include <cstdint>
#include <string>

#include "history/AnswerOutcome.h"
#include "history/SqliteHandles.h"

namespace tessimo {

// Stored in the file's header; tells this program's history from any other SQLite database.
inline constexpr std::int32_t HistoryApplicationId = 0x54455353;
// The schema this program writes; files of older versions are migrated when opened.
inline constexpr int HistorySchemaVersion = 3;

enum class HistoryFailure {
    None,
    NotRegularFile, // a link, folder, pipe, ... has the file's name
    Foreign,        // not a practice history (another program's file, or not SQLite at all)
    Damaged,        // a practice history that fails its integrity check
    Newer,          // written by a newer version of the program
    CannotOpen,     // the file or its folder cannot be opened or created (permissions, ...)
    CannotWrite,    // a write failed: full disk, size limit, read-only disk
};

struct HistoryProblem {
    HistoryFailure failure = HistoryFailure::None;
    std::string message; // one sentence for the user, naming the file

    explicit operator bool() const { return failure != HistoryFailure::None; }
};

class HistoryDatabase {
public:
    enum class Access { ReadWrite, ReadOnly };

    HistoryDatabase() = default;

    // Opens the history at path. ReadWrite creates a missing file (and the schema) and
    // migrates an older one; ReadOnly never creates or changes anything, and a missing file
    // gives a closed database with no problem (there is no history yet). Nothing is written
    // to a file that is refused. Blocks on the disk; ReadWrite also runs a quick integrity
    // check, which reads the whole file.
    static HistoryDatabase open(const std::string& path, Access access, HistoryProblem& problem);

    bool isOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_.get(); }
    const std::string& path() const { return path_; }

    // Stores the answers in one transaction. On failure nothing of them is stored and
    // problem says why.
    template <typename Answers> bool insert(const Answers& answers, HistoryProblem& problem) {
        if (!beginInsert(problem)) {
            return false;
        }
        for (const AnswerOutcome& answer : answers) {
            if (!insertOne(answer, problem)) {
                return false;
            }
        }
        return commitInsert(problem);
    }

    // A prepared statement, or null (with a message in error) when the SQL is refused.
    SqliteStatement prepare(const char* sql, std::string* error = nullptr) const;

    // The schema version stored in the file (0 when closed).
    int schemaVersion() const;

private:
    bool beginInsert(HistoryProblem& problem);
    bool insertOne(const AnswerOutcome& answer, HistoryProblem& problem); // rolls back on failure
    bool commitInsert(HistoryProblem& problem);
    bool execute(const char* sql, HistoryProblem& problem, HistoryFailure failure);
    bool migrate(HistoryProblem& problem);

    SqliteConnection db_;
    SqliteStatement insert_;
    std::string path_;
};

// The pitches of a group as stored: decimal numbers separated by single spaces ("60 64 67").
std::string pitchGroupText(const PitchGroup& group);
// The reverse; numbers outside 0..127 and anything past ten pitches are dropped.
PitchGroup parsePitchGroup(const char* text);

} // namespace tessimo
