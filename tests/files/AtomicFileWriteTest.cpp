#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include "files/AtomicFileWrite.h"
#include "support/HostileEntries.h"

namespace tessimo {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class AtomicFileWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessimo-atomic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static Bytes read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void write(const std::string& p, const Bytes& bytes) {
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_;
};

// Declared first so that no earlier write in this process has used up the planted names.
TEST_F(AtomicFileWriteTest, LinksPlantedAtTheTemporaryNamesAreNeverFollowed) {
    write(path("victim"), Bytes{1, 2, 3});
    const std::string pid = std::to_string(::getpid());
    constexpr int planted = 50;
    for (int n = 0; n < planted; ++n) {
        fs::create_symlink(path("victim"),
                           path(".tessimo-" + pid + "-" + std::to_string(n) + ".tmp"));
    }
    for (int save = 0; save < 3; ++save) {
        const Bytes content(10 + save, static_cast<std::uint8_t>(save));
        ASSERT_TRUE(writeFileAtomically(path("record.dat"), content)) << save;
        EXPECT_EQ(read(path("record.dat")), content);
        EXPECT_FALSE(fs::is_symlink(path("record.dat")));
    }
    EXPECT_EQ(read(path("victim")), (Bytes{1, 2, 3}));
    // Every planted link is still there, and nothing else was left behind.
    EXPECT_EQ(entries().size(), planted + 2u);
}

TEST_F(AtomicFileWriteTest, WritesExactlyTheBytesGivenAndReplacesALongerFile) {
    write(path("a.dat"), Bytes(100000, 0xAB));
    const Bytes content{0, 0xFF, 0x0A, 0x0D, 0x1A};
    ASSERT_TRUE(writeFileAtomically(path("a.dat"), content));
    EXPECT_EQ(read(path("a.dat")), content);
    ASSERT_TRUE(writeFileAtomically(path("a.dat"), Bytes{}));
    EXPECT_TRUE(read(path("a.dat")).empty());
    EXPECT_EQ(entries(), std::vector<std::string>{"a.dat"});
}

TEST_F(AtomicFileWriteTest, ANameAsLongAsTheFileSystemAllowsCanBeWritten) {
    const std::string name = std::string(251, 'n') + ".dat"; // 255 bytes
    ASSERT_TRUE(writeFileAtomically(path(name), Bytes{7, 8}));
    EXPECT_EQ(read(path(name)), (Bytes{7, 8}));
    EXPECT_EQ(entries(), std::vector<std::string>{name});
}

TEST_F(AtomicFileWriteTest, AFailedRenameLeavesTheTargetAndNoTemporary) {
    fs::create_directory(path("folder.dat"));
    write(path("folder.dat/inside"), Bytes{5});
    EXPECT_FALSE(writeFileAtomically(path("folder.dat"), Bytes{1, 2}));
    EXPECT_TRUE(fs::is_directory(path("folder.dat")));
    EXPECT_EQ(read(path("folder.dat/inside")), Bytes{5});
    EXPECT_EQ(entries(), std::vector<std::string>{"folder.dat"});
}

TEST_F(AtomicFileWriteTest, ABareNameIsWrittenInTheWorkingDirectory) {
    const fs::path previous = fs::current_path();
    fs::current_path(dir_);
    const bool written = static_cast<bool>(writeFileAtomically("bare.dat", Bytes{9}));
    fs::current_path(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(read(path("bare.dat")), Bytes{9});
    EXPECT_EQ(entries(), std::vector<std::string>{"bare.dat"});
}

// A process id that no process has: a child that has exited and been reaped.
long deadProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        std::_Exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<long>(child);
}

TEST_F(AtomicFileWriteTest, TemporariesOfCrashedWritersGoAtTheNextSaveAndNothingElseDoes) {
    const std::string dead = std::to_string(deadProcessId());
    const std::string running = std::to_string(::getppid()); // the test runner
    const std::string self = std::to_string(::getpid());
    const auto age = [&](const std::string& name, int seconds) {
        const utimbuf times{std::time(nullptr) - seconds, std::time(nullptr) - seconds};
        ASSERT_EQ(::utime(path(name).c_str(), &times), 0) << name;
    };
    const std::vector<std::string> kept = {
        ".tessimo-" + dead + "-9.tmp.keep", // not the program's name
        ".tessimo-" + running + "-1.tmp",   // its writer still runs
        ".tessimo-" + self + "-77.tmp",     // a save of this process
        ".tessimo-" + dead + "-3.tmp",      // written moments ago: may be a save in progress
        ".tessimo-x" + dead + "-4.tmp",     ".tessimo--5.tmp", "other.tmp"};
    for (const std::string& name : kept) {
        write(path(name), Bytes{1});
    }
    write(path(".tessimo-" + dead + "-1.tmp"), Bytes(516, 7)); // left by a crash
    write(path(".tessimo-" + dead + "-2.tmp"), Bytes{});
    for (const std::string& name : kept) {
        if (name != ".tessimo-" + dead + "-3.tmp") {
            age(name, 3600);
        }
    }
    age(".tessimo-" + dead + "-1.tmp", 3600);
    age(".tessimo-" + dead + "-2.tmp", 61);
    // A folder and a link under the program's names are not its files either.
    fs::create_directory(path(".tessimo-" + dead + "-6.tmp"));
    ASSERT_TRUE(tessimo::testing::makeLink(path(".tessimo-" + dead + "-8.tmp"), path("other.tmp")));

    ASSERT_TRUE(writeFileAtomically(path("config.dat"), Bytes{4, 5}));
    std::vector<std::string> expected = kept;
    expected.push_back("config.dat");
    expected.push_back(".tessimo-" + dead + "-6.tmp");
    expected.push_back(".tessimo-" + dead + "-8.tmp");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(read(path("config.dat")), (Bytes{4, 5}));
}

TEST_F(AtomicFileWriteTest, WhatIsNotARegularFileIsLeftAloneAndNamed) {
    using namespace tessimo::testing;
    write(path("target"), Bytes{3});
    for (Hostile kind : allHostileKinds()) {
        const std::string name = std::string("x-") + hostileName(kind);
        if (!makeHostile(kind, path(name), path("target"))) {
            ASSERT_EQ(kind, Hostile::Device);
            continue;
        }
        const FileWriteResult result = writeFileAtomically(path(name), Bytes{1, 2});
        EXPECT_EQ(result.failure, FileWriteFailure::NotRegularFile) << hostileName(kind);
        EXPECT_NE(describeWriteFailure(result).find(hostileName(kind)), std::string::npos)
            << describeWriteFailure(result);
        EXPECT_EQ(entryType(path(name)), expectedEntryType(kind));
    }
    EXPECT_EQ(read(path("target")), Bytes{3});
}

TEST_F(AtomicFileWriteTest, AFailureSaysWhatFailed) {
    const FileWriteResult noFolder = writeFileAtomically(path("absent/a.dat"), Bytes{1});
    EXPECT_EQ(noFolder.failure, FileWriteFailure::NoFolder);
    EXPECT_EQ(describeWriteFailure(noFolder), "the folder does not exist");

    // A size limit stops the write as a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileWriteResult full = writeFileAtomically(path("b.dat"), Bytes(100, 1));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(full.failure, FileWriteFailure::Full);
    EXPECT_TRUE(entries().empty());

    if (::geteuid() != 0) {
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        const FileWriteResult denied = writeFileAtomically(path("c.dat"), Bytes{1});
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_EQ(denied.failure, FileWriteFailure::NotPermitted);
        EXPECT_EQ(describeWriteFailure(denied), "writing in this folder is not permitted");
    }
}

} // namespace
} // namespace tessimo
