#include "history/HistoryDatabase.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "files/SafeFileOpen.h"

namespace tessimo {

namespace {

constexpr std::size_t SqliteHeaderSize = 100;
constexpr char SqliteMagic[] = "SQLite format 3"; // followed by a NUL in the file

// Step k (1-based) brings a file from schema version k - 1 to version k. Steps are only ever
// added at the end: a file keeps every answer across them.
constexpr std::array<const char*, HistorySchemaVersion> Migrations = {
    // 1: the answers.
    "CREATE TABLE answer ("
    " id INTEGER PRIMARY KEY,"
    " at_ms INTEGER NOT NULL,"
    " user TEXT NOT NULL,"
    " exercise INTEGER NOT NULL,"
    " input INTEGER NOT NULL,"
    " clef INTEGER NOT NULL,"
    " expected TEXT NOT NULL,"
    " given TEXT NOT NULL,"
    " expected_pitch INTEGER,"
    " given_pitch INTEGER,"
    " pitch_class_only INTEGER NOT NULL,"
    " outcome INTEGER NOT NULL,"
    " answer_ms INTEGER);"
    "CREATE INDEX answer_time ON answer(at_ms);",
    // 2: the recent answers to one pitch, for weighting the draw.
    "CREATE INDEX answer_pitch ON answer(exercise, expected_pitch, id);",
    // 3: narrow copies of what each statistic reads, so that it reads neither whole rows nor
    // the answers it does not count.
    "CREATE INDEX answer_pitch_stats ON answer(exercise, expected_pitch, outcome, answer_ms,"
    " input, at_ms);"
    "CREATE INDEX answer_day ON answer(at_ms, outcome, exercise, input);"
    "CREATE INDEX answer_wrong ON answer(exercise, input, pitch_class_only, expected, given,"
    " at_ms) WHERE outcome = 1;",
};

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The reason for a write that failed without a usable errno (SQLite may report it after
// other calls have overwritten errno): a size limit the files have reached, or a full disk.
std::string writeFailureReason(const std::string& path, int code) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        for (const std::string& file : {path, path + "-wal"}) {
            struct stat entry {};
            if (::stat(file.c_str(), &entry) == 0 &&
                static_cast<rlim_t>(entry.st_size) + 65536 >= limit.rlim_cur) {
                return "the file size limit is reached";
            }
        }
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct statvfs disk {};
    if (::statvfs(folder.c_str(), &disk) == 0 &&
        static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize < 1024 * 1024) {
        return "the disk is full";
    }
    return sqlite3_errstr(code);
}

// Why a call on db (for the file at path) failed, in words.
std::string reasonOf(sqlite3* db, int code, const std::string& path = "") {
    const int primary = code & 0xff;
    if (primary == SQLITE_FULL) {
        return "the disk is full";
    }
    const int error = db != nullptr ? sqlite3_system_errno(db) : 0;
    if (error == EFBIG) {
        return "the file size limit is reached";
    }
    if (error == ENOSPC || error == EDQUOT) {
        return "the disk is full";
    }
    if (primary == SQLITE_READONLY || error == EROFS) {
        return error == EROFS ? "the disk is read-only" : "the file or its folder is read-only";
    }
    if (primary == SQLITE_IOERR && !path.empty()) {
        return writeFailureReason(path, code);
    }
    if (error != 0) {
        return describeErrno(error);
    }
    return sqlite3_errstr(code);
}

int readBigEndian32(const std::uint8_t* bytes) {
    return static_cast<int>((std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                            (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]});
}

enum class Found { Missing, Empty, Ours, Unsure, Refused };

std::string foreignMessage(const std::string& path) {
    return "The file " + quoted(path) +
           " is a database of another program, not a practice history; it is left as it is.";
}

// Looks at the file's kind and header without opening it as a database, so that nothing is
// written to a file that is not ours (opening a database in WAL mode may write to it).
Found lookAtFile(const std::string& path, HistoryProblem& problem) {
    ReadOpenResult opened = openRegularFileForReading(path);
    if (opened.kind == FileKind::Missing) {
        return Found::Missing;
    }
    if (opened.kind != FileKind::Regular) {
        problem = {HistoryFailure::NotRegularFile, "The practice history " + quoted(path) + " " +
                                                       describeFileKind(opened.kind) +
                                                       "; it is left alone."};
        return Found::Refused;
    }
    if (!opened.opened()) {
        problem = {HistoryFailure::CannotOpen, "The practice history " + quoted(path) +
                                                   " cannot be read (" +
                                                   describeErrno(opened.error) + ")."};
        return Found::Refused;
    }
    std::array<std::uint8_t, SqliteHeaderSize> header{};
    const long got = readUpTo(opened.file.fd(), header.data(), header.size());
    if (got == 0) {
        return Found::Empty; // created but never written: nothing to keep
    }
    if (got < static_cast<long>(header.size()) ||
        std::memcmp(header.data(), SqliteMagic, sizeof SqliteMagic) != 0) {
        problem = {HistoryFailure::Foreign,
                   "The file " + quoted(path) +
                       " is not a practice history of this program (or is damaged beyond "
                       "recognition); it is left as it is."};
        return Found::Refused;
    }
    const int id = readBigEndian32(header.data() + 68);
    if (id == HistoryApplicationId) {
        return Found::Ours;
    }
    // A new history carries its id in the write-ahead log until the log is copied back.
    struct stat log {};
    if (id == 0 && ::lstat((path + "-wal").c_str(), &log) == 0 && S_ISREG(log.st_mode) &&
        log.st_size > 0) {
        return Found::Unsure;
    }
    problem = {HistoryFailure::Foreign, foreignMessage(path)};
    return Found::Refused;
}

// Why a missing file could not be created: the folder's own permissions when they forbid it
// (SQLite reports the read-only retry of its open instead).
std::string creationReason(const std::string& path, sqlite3* db, int code) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        const int error = errno;
        return "the folder cannot be written: " + describeErrno(error);
    }
    return reasonOf(db, code);
}

int pragmaValue(sqlite3* db, const char* sql, int& code) {
    sqlite3_stmt* raw = nullptr;
    code = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    SqliteStatement statement(raw);
    if (code != SQLITE_OK) {
        return 0;
    }
    code = sqlite3_step(raw);
    if (code != SQLITE_ROW) {
        return 0;
    }
    code = SQLITE_OK;
    return sqlite3_column_int(raw, 0);
}

bool isDamage(int code) {
    return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

} // namespace

HistoryDatabase HistoryDatabase::open(const std::string& path, Access access,
                                      HistoryProblem& problem) {
    problem = {};
    HistoryDatabase result;
    result.path_ = path;
    const Found found = lookAtFile(path, problem);
    if (found == Found::Refused) {
        return result;
    }
    const bool existing = found == Found::Ours || found == Found::Unsure;
    if (access == Access::ReadOnly && !existing) {
        return result; // no history yet
    }
    // An existing file is first looked at through a read-only connection, which never
    // writes to it: its id, its version, whether its pages can be read.
    int flags = SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX |
                (existing ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3* raw = nullptr;
    int code = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    SqliteConnection db(raw);
    if (code != SQLITE_OK) {
        problem = {HistoryFailure::CannotOpen,
                   "The practice history " + quoted(path) + " cannot be " +
                       (existing ? "opened (" + reasonOf(db.get(), code)
                                 : "created (" + creationReason(path, db.get(), code)) +
                       ")."};
        return result;
    }
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), 2000);

    if (existing) {
        const int id = pragmaValue(db.get(), "PRAGMA application_id", code);
        const int version =
            code == SQLITE_OK ? pragmaValue(db.get(), "PRAGMA user_version", code) : 0;
        if (code != SQLITE_OK) {
            problem = isDamage(code) ? HistoryProblem{HistoryFailure::Damaged,
                                                      "The practice history " + quoted(path) +
                                                          " is damaged; it is left as it is."}
                                     : HistoryProblem{HistoryFailure::CannotOpen,
                                                      "The practice history " + quoted(path) +
                                                          " cannot be read (" +
                                                          reasonOf(db.get(), code) + ")."};
            return result;
        }
        if (id != HistoryApplicationId) {
            problem = {HistoryFailure::Foreign, foreignMessage(path)};
            return result;
        }
        if (version > HistorySchemaVersion) {
            problem = {HistoryFailure::Newer, "The practice history " + quoted(path) +
                                                  " was written by a newer version of this "
                                                  "program; it is left as it is."};
            return result;
        }
        if (access == Access::ReadOnly) {
            // Statistics read the whole file: map it rather than copy it page by page.
            sqlite3_exec(db.get(), "PRAGMA mmap_size=268435456; PRAGMA cache_size=-16384", nullptr,
                         nullptr, nullptr);
            result.db_ = std::move(db);
            return result;
        }
        SqliteStatement check;
        {
            sqlite3_stmt* statement = nullptr;
            code = sqlite3_prepare_v2(db.get(), "PRAGMA quick_check(1)", -1, &statement, nullptr);
            check.reset(statement);
        }
        const bool ok =
            code == SQLITE_OK && sqlite3_step(check.get()) == SQLITE_ROW &&
            std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)), "ok") ==
                0;
        check.reset();
        if (!ok) {
            problem = {HistoryFailure::Damaged,
                       "The practice history " + quoted(path) +
                           " is damaged; it is left as it is (for repair or for your records) "
                           "until it is moved away."};
            return result;
        }
        db.reset();
        raw = nullptr;
        code = sqlite3_open_v2(path.c_str(), &raw,
                               SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READWRITE,
                               nullptr);
        db.reset(raw);
        if (code != SQLITE_OK) {
            problem = {HistoryFailure::CannotOpen, "The practice history " + quoted(path) +
                                                       " cannot be opened for writing (" +
                                                       reasonOf(db.get(), code) + ")."};
            return result;
        }
        sqlite3_extended_result_codes(db.get(), 1);
        sqlite3_busy_timeout(db.get(), 2000);
    }
    result.db_ = std::move(db);
    if (!result.execute("PRAGMA journal_mode=WAL", problem, HistoryFailure::CannotWrite) ||
        !result.execute("PRAGMA synchronous=FULL", problem, HistoryFailure::CannotWrite) ||
        !result.migrate(problem)) {
        result.db_.reset();
        return result;
    }
    return result;
}

int HistoryDatabase::schemaVersion() const {
    SqliteStatement statement = prepare("PRAGMA user_version");
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) {
        return 0;
    }
    return sqlite3_column_int(statement.get(), 0);
}

SqliteStatement HistoryDatabase::prepare(const char* sql, std::string* error) const {
    if (!db_) {
        if (error != nullptr) {
            *error = "no database";
        }
        return nullptr;
    }
    sqlite3_stmt* raw = nullptr;
    const int code = sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr);
    SqliteStatement statement(raw);
    if (code != SQLITE_OK && error != nullptr) {
        *error = reasonOf(db_.get(), code);
    }
    return code == SQLITE_OK ? std::move(statement) : nullptr;
}

bool HistoryDatabase::execute(const char* sql, HistoryProblem& problem, HistoryFailure failure) {
    char* message = nullptr;
    const int code = sqlite3_exec(db_.get(), sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (code == SQLITE_OK) {
        return true;
    }
    problem = {failure, "The practice history " + quoted(path_) + " cannot be written (" +
                            reasonOf(db_.get(), code, path_) + ")."};
    return false;
}

bool HistoryDatabase::migrate(HistoryProblem& problem) {
    if (!execute("BEGIN IMMEDIATE", problem, HistoryFailure::CannotWrite)) {
        return false;
    }
    const int version = schemaVersion();
    if (version > HistorySchemaVersion) { // another program raised it since the check
        execute("ROLLBACK", problem, HistoryFailure::CannotWrite);
        problem = {HistoryFailure::Newer, "The practice history " + quoted(path_) +
                                              " was written by a newer version of this "
                                              "program; it is left as it is."};
        return false;
    }
    for (int step = version + 1; step <= HistorySchemaVersion; ++step) {
        if (!execute(Migrations[static_cast<std::size_t>(step - 1)], problem,
                     HistoryFailure::CannotWrite)) {
            sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
    }
    const std::string stamp = "PRAGMA application_id=" + std::to_string(HistoryApplicationId) +
                              "; PRAGMA user_version=" + std::to_string(HistorySchemaVersion);
    if (!execute(stamp.c_str(), problem, HistoryFailure::CannotWrite) ||
        !execute("COMMIT", problem, HistoryFailure::CannotWrite)) {
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return true;
}

bool HistoryDatabase::beginInsert(HistoryProblem& problem) {
    if (!db_) {
        problem = {HistoryFailure::CannotWrite, "The practice history is not open."};
        return false;
    }
    if (!insert_) {
        std::string error;
        insert_ = prepare("INSERT INTO answer (at_ms, user, exercise, input, clef, expected, "
                          "given, expected_pitch, given_pitch, pitch_class_only, outcome, "
                          "answer_ms) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                          &error);
        if (!insert_) {
            problem = {HistoryFailure::CannotWrite, "The practice history " + quoted(path_) +
                                                        " cannot be written (" + error + ")."};
            return false;
        }
    }
    return execute("BEGIN IMMEDIATE", problem, HistoryFailure::CannotWrite);
}

bool HistoryDatabase::insertOne(const AnswerOutcome& a, HistoryProblem& problem) {
    sqlite3_stmt* s = insert_.get();
    {
        const std::string expected = pitchGroupText(a.expected);
        const std::string given = pitchGroupText(a.given);
        sqlite3_reset(s);
        sqlite3_bind_int64(s, 1, a.atMs);
        sqlite3_bind_text(s, 2, a.user.data(), static_cast<int>(a.user.size()), SQLITE_STATIC);
        sqlite3_bind_int(s, 3, static_cast<int>(a.exercise));
        sqlite3_bind_int(s, 4, static_cast<int>(a.input));
        sqlite3_bind_int(s, 5, a.clef);
        sqlite3_bind_text(s, 6, expected.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 7, given.c_str(), -1, SQLITE_STATIC);
        if (a.expected.empty()) {
            sqlite3_bind_null(s, 8);
        } else {
            sqlite3_bind_int(s, 8, a.expected.pitches[0]);
        }
        if (a.given.empty()) {
            sqlite3_bind_null(s, 9);
        } else {
            sqlite3_bind_int(s, 9, a.given.pitches[0]);
        }
        sqlite3_bind_int(s, 10, a.pitchClassOnly ? 1 : 0);
        sqlite3_bind_int(s, 11, static_cast<int>(a.outcome));
        if (a.answerMs < 0) {
            sqlite3_bind_null(s, 12);
        } else {
            sqlite3_bind_int(s, 12, a.answerMs);
        }
        const int code = sqlite3_step(s);
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        if (code != SQLITE_DONE) {
            problem = {HistoryFailure::CannotWrite, "The practice history " + quoted(path_) +
                                                        " cannot be written (" +
                                                        reasonOf(db_.get(), code, path_) + ")."};
            sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
    }
    return true;
}

bool HistoryDatabase::commitInsert(HistoryProblem& problem) {
    if (!execute("COMMIT", problem, HistoryFailure::CannotWrite)) {
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return true;
}

std::string pitchGroupText(const PitchGroup& group) {
    std::string text;
    for (int i = 0; i < group.count && i < PitchGroup::Capacity; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += std::to_string(group.pitches[static_cast<std::size_t>(i)]);
    }
    return text;
}

PitchGroup parsePitchGroup(const char* text) {
    PitchGroup group;
    if (text == nullptr) {
        return group;
    }
    const char* p = text;
    while (*p != '\0') {
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p) {
            ++p;
            continue;
        }
        if (value >= 0 && value <= 127) {
            group.add(static_cast<int>(value));
        }
        p = end;
    }
    return group;
}

} // namespace tessimo
