#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/AtomicFileWrite.h"

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

} // namespace
} // namespace tessimo
