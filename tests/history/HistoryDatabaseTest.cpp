#include <gtest/gtest.h>

#include <unistd.h>

#include "HistoryTestSupport.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryFileName.h"
#include "history/HistoryQueries.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

HistoryDatabase openWritable(const std::string& path, HistoryProblem& problem) {
    return HistoryDatabase::open(path, HistoryDatabase::Access::ReadWrite, problem);
}

// A history with answers on enough pages that damage in the middle hits the answers' tree.
void fillHistory(const std::string& path, int answers) {
    HistoryProblem problem;
    HistoryDatabase db = openWritable(path, problem);
    ASSERT_TRUE(db.isOpen()) << problem.message;
    std::vector<AnswerOutcome> batch;
    for (int i = 0; i < answers; ++i) {
        batch.push_back(note(48 + i % 24, 50, i % 3 == 0 ? Outcome::Wrong : Outcome::Right));
    }
    ASSERT_TRUE(db.insert(batch, problem)) << problem.message;
}

TEST(HistoryFileName, FollowsTheUserNameRules) {
    EXPECT_EQ(historyFilePath(""), "history.sqlite");
    EXPECT_EQ(historyFilePath("alto"), "historyalto.sqlite");
    EXPECT_EQ(historyFilePath("alto", "/home/u"), "/home/u/historyalto.sqlite");
    EXPECT_EQ(historyFilePath("alto", "/home/u/"), "/home/u/historyalto.sqlite");
    EXPECT_FALSE(historyFilePath("../alto"));
    EXPECT_FALSE(historyFilePath(".."));
    EXPECT_FALSE(historyFilePath("a\nb"));
    EXPECT_FALSE(historyFilePath(std::string(502, 'a')));
}

TEST(HistoryDatabase, ANewFileIsAWalHistoryOfTheCurrentVersion) {
    TempFolder folder;
    const std::string path = folder.file("historyalto.sqlite");
    {
        HistoryProblem problem;
        HistoryDatabase db = openWritable(path, problem);
        ASSERT_TRUE(db.isOpen()) << problem.message;
        EXPECT_FALSE(problem);
        EXPECT_EQ(db.schemaVersion(), HistorySchemaVersion);
        std::vector<AnswerOutcome> batch = {note(60, 60, Outcome::Right, 420),
                                            note(62, -1, Outcome::Missed)};
        batch[0].clef = 1;
        batch[0].pitchClassOnly = true;
        ASSERT_TRUE(db.insert(batch, problem)) << problem.message;
    }
    SqliteConnection raw = rawOpen(path, SQLITE_OPEN_READONLY);
    EXPECT_EQ(rawValue(raw.get(), "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(rawValue(raw.get(), "PRAGMA application_id"), std::to_string(HistoryApplicationId));
    EXPECT_EQ(rawValue(raw.get(), "PRAGMA user_version"), std::to_string(HistorySchemaVersion));
    EXPECT_EQ(rawValue(raw.get(),
                       "SELECT group_concat(user || ':' || clef || ':' || expected || ':' || "
                       "given || ':' || pitch_class_only || ':' || outcome || ':' || "
                       "ifnull(answer_ms, 'none'), ';') FROM answer ORDER BY id"),
              "alto:1:60:60:1:0:420;alto:0:62::0:2:none");
}

TEST(HistoryDatabase, AnOlderFileIsMigratedAndKeepsItsAnswers) {
    TempFolder folder;
    const std::string path = folder.file("history.sqlite");
    {
        // A file as the first version of the program left it.
        SqliteConnection raw = rawOpen(path);
        rawExec(raw.get(),
                "CREATE TABLE answer (id INTEGER PRIMARY KEY, at_ms INTEGER NOT NULL, user TEXT "
                "NOT NULL, exercise INTEGER NOT NULL, input INTEGER NOT NULL, clef INTEGER NOT "
                "NULL, expected TEXT NOT NULL, given TEXT NOT NULL, expected_pitch INTEGER, "
                "given_pitch INTEGER, pitch_class_only INTEGER NOT NULL, outcome INTEGER NOT "
                "NULL, answer_ms INTEGER); CREATE INDEX answer_time ON answer(at_ms);"
                "INSERT INTO answer VALUES (1, 5, '', 4, 2, 0, '64', '65', 64, 65, 0, 1, 900);"
                "PRAGMA application_id=" +
                    std::to_string(HistoryApplicationId) + "; PRAGMA user_version=1;");
    }
    HistoryProblem problem;
    HistoryDatabase db = openWritable(path, problem);
    ASSERT_TRUE(db.isOpen()) << problem.message;
    EXPECT_EQ(db.schemaVersion(), HistorySchemaVersion);
    EXPECT_EQ(rawValue(db.handle(), "SELECT count(*) FROM sqlite_master WHERE name IN "
                                    "('answer_pitch', 'answer_pitch_stats', 'answer_wrong')"),
              "3");
    ASSERT_TRUE(db.insert(std::vector{note(60, 60, Outcome::Right)}, problem));
    EXPECT_EQ(rawValue(db.handle(), "SELECT group_concat(expected || '>' || given, ' ') FROM "
                                    "answer ORDER BY id"),
              "64>65 60>60");
}

struct RefusedCase {
    const char* name;
    HistoryFailure failure;
};

// Builds each kind of file that is not a usable history at path.
void makeRefusedFile(const std::string& name, const std::string& path, TempFolder& folder) {
    if (name == "text") {
        writeBytes(path, Bytes{'t', 'i', 'm', 'e', ',', 'n', 'o', 't', 'e', '\n'});
    } else if (name == "short sqlite header") {
        writeBytes(path, Bytes{'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't'});
    } else if (name == "another program's database") {
        SqliteConnection raw = rawOpen(path);
        rawExec(raw.get(), "PRAGMA journal_mode=WAL; CREATE TABLE t(x); INSERT INTO t VALUES(1);");
    } else if (name == "newer version") {
        fillHistory(path, 10);
        SqliteConnection raw = rawOpen(path);
        rawExec(raw.get(), "PRAGMA user_version=99");
    } else if (name == "damaged") {
        fillHistory(path, 3000);
        Bytes bytes = readBytes(path);
        ASSERT_GT(bytes.size(), 4096u * 8);
        // Pages 3 and 4 (of the answers' table) overwritten as by a failing disk.
        for (std::size_t i = 4096 * 2; i < 4096 * 4; ++i) {
            bytes[i] = static_cast<char>(0xA5);
        }
        writeBytes(path, bytes);
    } else if (name == "link") {
        fillHistory(folder.file("elsewhere.sqlite"), 10);
        ASSERT_EQ(::symlink(folder.file("elsewhere.sqlite").c_str(), path.c_str()), 0);
    } else if (name == "folder") {
        fs::create_directory(path);
    }
}

// Every file that is not this program's usable history is refused with a message naming it,
// through the writer's and the window's way of opening alike, and stays byte for byte as it
// was.
TEST(HistoryDatabase, RefusedFilesAreLeftExactlyAsTheyWere) {
    const RefusedCase cases[] = {
        {"text", HistoryFailure::Foreign},
        {"short sqlite header", HistoryFailure::Foreign},
        {"another program's database", HistoryFailure::Foreign},
        {"newer version", HistoryFailure::Newer},
        {"damaged", HistoryFailure::Damaged},
        {"link", HistoryFailure::NotRegularFile},
        {"folder", HistoryFailure::NotRegularFile},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.file("historyalto.sqlite");
        makeRefusedFile(c.name, path, folder);
        const bool isFolder = fs::is_directory(fs::symlink_status(path));
        const Bytes before = isFolder ? Bytes{} : readBytes(path);

        HistoryProblem problem;
        HistoryDatabase db = openWritable(path, problem);
        EXPECT_FALSE(db.isOpen());
        EXPECT_EQ(problem.failure, c.failure) << problem.message;
        EXPECT_NE(problem.message.find(path), std::string::npos) << problem.message;

        if (c.failure != HistoryFailure::Damaged) { // the window reads without checking pages
            HistoryProblem readProblem;
            HistoryQueries queries(path, readProblem);
            EXPECT_FALSE(queries.isOpen());
            EXPECT_EQ(readProblem.failure, c.failure) << readProblem.message;
        }
        if (!isFolder) {
            EXPECT_EQ(readBytes(path), before);
        }
        EXPECT_FALSE(fs::exists(path + "-journal"));
    }
}

TEST(HistoryDatabase, AnEmptyFileLeftByACrashBecomesAHistory) {
    TempFolder folder;
    const std::string path = folder.file("history.sqlite");
    writeBytes(path, Bytes{});
    HistoryProblem problem;
    HistoryDatabase db = openWritable(path, problem);
    ASSERT_TRUE(db.isOpen()) << problem.message;
    EXPECT_EQ(db.schemaVersion(), HistorySchemaVersion);
}

TEST(HistoryDatabase, AMissingFileReadsAsAnEmptyHistoryAndIsNotCreated) {
    TempFolder folder;
    const std::string path = folder.file("history.sqlite");
    HistoryProblem problem;
    HistoryQueries queries(path, problem);
    EXPECT_FALSE(problem);
    EXPECT_TRUE(queries.pitchStatistics({}).empty());
    EXPECT_TRUE(queries.confusions({}, 0, 10).empty());
    EXPECT_FALSE(fs::exists(path));
}

TEST(HistoryDatabase, PitchGroupsRoundTripAsText) {
    PitchGroup chord;
    for (int p : {48, 52, 55, 60}) {
        chord.add(p);
    }
    EXPECT_EQ(pitchGroupText(chord), "48 52 55 60");
    const PitchGroup back = parsePitchGroup("48 52 55 60");
    EXPECT_EQ(back.count, 4);
    EXPECT_EQ(back.pitches[3], 60);
    EXPECT_EQ(parsePitchGroup("").count, 0);
    EXPECT_EQ(parsePitchGroup("300 -1 61").count, 1); // out of range dropped
    PitchGroup full;
    for (int i = 0; i < 12; ++i) {
        full.add(40 + i);
    }
    EXPECT_EQ(full.count, PitchGroup::Capacity);
}

} // namespace
} // namespace tessimo
