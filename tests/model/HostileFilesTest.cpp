// Settings files that are not regular files (a named pipe, socket, device, link or folder),
// and one that cannot be read: refused quickly, with a message, and never overwritten.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/SafeFileOpen.h"
#include "model/ProfileSwitch.h"
#include "support/FakeTemplateStore.h"
#include "support/HostileEntries.h"
#include "support/Watchdog.h"

namespace tessimo {
namespace {

namespace fs = std::filesystem;
using namespace tessimo::testing;

std::vector<char> readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SettingsRecord unusual() {
    SettingsRecord r;
    r.speed = 9;
    r.instrument = 73;
    r.notes.fill(1);
    r.makeValid();
    return r;
}

// A fresh working folder per test; "elsewhere" beside it holds the file a link points at, a
// valid settings file whose bytes must never be taken for the user's.
class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessimo-hostile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directory(root_ / "work");
        ASSERT_EQ(unusual().save((root_ / "elsewhere.dat").string()), 0);
        elsewhere_ = readBytes(root_ / "elsewhere.dat");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    std::string dir() const { return (root_ / "work").string(); }
    std::string path(const std::string& name) const { return (root_ / "work" / name).string(); }
    std::string linkTarget() const { return (root_ / "elsewhere.dat").string(); }

    // Makes the entry or skips the kinds this machine cannot make (a device without the
    // right to create one).
    bool make(Hostile kind, const std::string& name) {
        if (makeHostile(kind, path(name), linkTarget())) {
            return true;
        }
        EXPECT_EQ(kind, Hostile::Device) << "cannot make a " << hostileName(kind);
        return false;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(root_ / "work")) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    fs::path root_;
    std::vector<char> elsewhere_;
};

TEST_F(HostileFiles, OnlyARegularFileIsOpenedAndNothingElseIsWaitedOn) {
    for (Hostile kind : allHostileKinds()) {
        const std::string name = std::string("entry-") + hostileName(kind);
        if (!make(kind, name)) {
            continue;
        }
        const Watchdog guard(std::string("opening a ") + hostileName(kind));
        const ReadOpenResult opened = openRegularFileForReading(path(name));
        EXPECT_FALSE(opened.opened()) << hostileName(kind);
        EXPECT_NE(describeReadFailure(opened.kind, opened.error).find(hostileName(kind)),
                  std::string::npos)
            << describeReadFailure(opened.kind, opened.error);
    }
    // A link the user named explicitly may be followed, to a regular file only.
    const ReadOpenResult followed = openRegularFileForReading(path("entry-link"), Links::Follow);
    ASSERT_TRUE(followed.opened());
    EXPECT_EQ(followed.size, static_cast<std::uint64_t>(SettingsFileSize));
    EXPECT_FALSE(openRegularFileForReading(path("entry-named pipe"), Links::Follow).opened());

    const ReadOpenResult missing = openRegularFileForReading(path("absent"));
    EXPECT_EQ(missing.kind, FileKind::Missing);
    EXPECT_FALSE(missing.opened());
}

TEST_F(HostileFiles, StartUpKeepsTheDefaultsSaysWhyAndTheEntryStays) {
    for (Hostile kind : allHostileKinds()) {
        SCOPED_TRACE(hostileName(kind));
        fs::remove_all(path("config.dat"));
        if (!make(kind, "config.dat")) {
            continue;
        }
        SettingsRecord settings;
        SettingsLoadResult result;
        {
            const Watchdog guard(std::string("loading settings from a ") + hostileName(kind));
            result = loadUserSettings(dir(), "", settings);
        }
        EXPECT_FALSE(result.loaded);
        EXPECT_TRUE(result.fileKept);
        EXPECT_NE(result.message.find("config.dat"), std::string::npos) << result.message;
        EXPECT_NE(result.message.find(hostileName(kind)), std::string::npos) << result.message;
        EXPECT_EQ(settings, SettingsRecord{}); // not the linked file's values
        EXPECT_EQ(entryType(path("config.dat")), expectedEntryType(kind));
    }
    EXPECT_EQ(readBytes(linkTarget()), elsewhere_);

    // A missing file is a fresh start: nothing said, nothing kept.
    fs::remove_all(path("config.dat"));
    SettingsRecord settings;
    const SettingsLoadResult fresh = loadUserSettings(dir(), "", settings);
    EXPECT_FALSE(fresh.loaded);
    EXPECT_FALSE(fresh.fileKept);
    EXPECT_TRUE(fresh.message.empty());
    EXPECT_TRUE(entries().empty());
}

TEST_F(HostileFiles, TheProfileSwitchRefusesThemAndListsOnlyRegularFiles) {
    ASSERT_EQ(SettingsRecord{}.save(path("configalto.dat")), 0);
    for (Hostile kind : allHostileKinds()) {
        const std::string user = std::string("x") + std::to_string(static_cast<int>(kind));
        if (!make(kind, "config" + user + ".dat")) {
            continue;
        }
        FakeTemplateStore recognizer;
        SettingsRecord settings = unusual();
        ProfileSwitchResult result;
        {
            const Watchdog guard(std::string("switching to a ") + hostileName(kind));
            result = switchProfile(dir(), user, settings, recognizer);
        }
        EXPECT_FALSE(result.switched) << hostileName(kind);
        EXPECT_NE(result.message.find(hostileName(kind)), std::string::npos) << result.message;
        EXPECT_EQ(settings, unusual());
        EXPECT_TRUE(recognizer.calls.empty());
        EXPECT_EQ(entryType(path("config" + user + ".dat")), expectedEntryType(kind));
    }
    EXPECT_EQ(listUsers(dir()), std::vector<std::string>{"alto"});
    EXPECT_EQ(readBytes(linkTarget()), elsewhere_);
}

TEST_F(HostileFiles, SavingNeverReplacesThemAndSaysWhy) {
    for (Hostile kind : allHostileKinds()) {
        const std::string user = std::string("y") + std::to_string(static_cast<int>(kind));
        const std::string file = "config" + user + ".dat";
        if (!make(kind, file)) {
            continue;
        }
        const std::string message = saveUserSettings(dir(), user, unusual());
        EXPECT_NE(message.find(file), std::string::npos) << message;
        EXPECT_NE(message.find(hostileName(kind)), std::string::npos) << message;
        EXPECT_EQ(entryType(path(file)), expectedEntryType(kind));
    }
    EXPECT_EQ(readBytes(linkTarget()), elsewhere_);
    for (const std::string& name : entries()) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

// Permissions do not bind root, so as root the check runs in a child process that has given
// up root for the "nobody" user; either way in a folder of its own.
TEST(UnreadableSettings, AFileThatCannotBeReadIsKeptAndSaidWhy) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(2);
            }
            std::string folder = "/tmp/tessimo-unreadable-XXXXXX";
            if (::mkdtemp(folder.data()) == nullptr) {
                std::_Exit(3);
            }
            const std::string file = folder + "/config.dat";
            const bool saved = unusual().save(file) == 0 && ::chmod(file.c_str(), 0) == 0;
            SettingsRecord settings;
            const SettingsLoadResult result = loadUserSettings(folder, "", settings);
            const bool kept = result.fileKept && settings == SettingsRecord{} &&
                              result.message.find("permission denied") != std::string::npos;
            FakeTemplateStore recognizer;
            const bool refused = !switchProfile(folder, "", settings, recognizer).switched;
            ::chmod(file.c_str(), 0600);
            SettingsRecord again;
            const bool intact = again.load(file) == 0 && again == unusual();
            fs::remove_all(folder);
            std::_Exit(saved && kept && refused && intact ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace tessimo
