// Helpers of the practice history tests: a private folder, raw looks into a database file,
// and answers made to order.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sqlite3.h>
#include <stdlib.h>

#include "history/AnswerOutcome.h"
#include "history/SqliteHandles.h"

namespace tessimo::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "tessimo-history-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A raw connection for looking at a file as SQLite sees it (never through the code tested).
inline SqliteConnection rawOpen(const std::string& path,
                                int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    return SqliteConnection(db);
}

inline void rawExec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error != nullptr ? error : "") << " in " << sql;
}

// The first column of the first row as text ("" when there is none).
inline std::string rawValue(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        return std::string("error: ") + sqlite3_errmsg(db);
    }
    SqliteStatement statement(raw);
    if (sqlite3_step(raw) != SQLITE_ROW || sqlite3_column_text(raw, 0) == nullptr) {
        return "";
    }
    return reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
}

inline AnswerOutcome note(int expected, int given, Outcome outcome, int answerMs = 500,
                          Exercise exercise = Exercise::NotesDictation,
                          AnswerInput input = AnswerInput::Mouse, std::int64_t atMs = 0) {
    AnswerOutcome a;
    a.atMs = atMs;
    a.user = "alto";
    a.exercise = exercise;
    a.input = input;
    a.expected = PitchGroup::single(expected);
    if (given >= 0) {
        a.given = PitchGroup::single(given);
    }
    a.outcome = outcome;
    a.answerMs = outcome == Outcome::Missed ? -1 : answerMs;
    return a;
}

// Sets TZ for the test's lifetime (the local day depends on it).
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        const char* old = ::getenv("TZ");
        had_ = old != nullptr;
        if (had_) {
            old_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (had_) {
            ::setenv("TZ", old_.c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    bool had_ = false;
    std::string old_;
};

} // namespace tessimo::testing
