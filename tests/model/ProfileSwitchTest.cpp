#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "model/ProfileSwitch.h"
#include "model/UserName.h"
#include "recognition/CRecognizer.h"
#include "support/FakeTemplateStore.h"

namespace tessimo {
namespace {

namespace fs = std::filesystem;

// Each test works in a fresh folder inside a fresh parent, so files written beside or above
// the working folder would show.
class ProfileSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessimo-profiles-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        parent_ = pattern;
        dir_ = parent_ / "work";
        fs::create_directory(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(parent_, ec);
    }

    std::string dir() const { return dir_.string(); }

    void touch(const std::string& name) const { std::ofstream(dir_ / name) << "x"; }

    static std::vector<char> readBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Every path below the parent folder, relative to it.
    std::set<std::string> tree() const {
        std::set<std::string> all;
        for (const auto& e : fs::recursive_directory_iterator(parent_)) {
            all.insert(fs::relative(e.path(), parent_).string());
        }
        return all;
    }

    static SettingsRecord unusual() {
        SettingsRecord r;
        r.speed = 7;
        r.instrument = 40;
        r.sustain = 0;
        r.notes.fill(1);
        return r;
    }

    fs::path parent_;
    fs::path dir_;
    testing::FakeTemplateStore recognizer_;
};

TEST_F(ProfileSwitchTest, ListsUsersSortedWithoutTheDefaultUserOrFolders) {
    EXPECT_TRUE(listUsers(dir()).empty());
    touch("config.dat");
    EXPECT_TRUE(listUsers(dir()).empty());

    touch("configtenor.dat");
    touch("configalto.dat");
    touch("configBass.dat");
    touch("record.dat");
    touch("configsoprano.dat.tmp.12.0");
    touch("Configmezzo.dat");
    fs::create_directory(dir_ / "configfolder.dat");
    touch("config\tbad.dat");
    EXPECT_EQ(listUsers(dir()), (std::vector<std::string>{"alto", "Bass", "tenor"}));
}

TEST_F(ProfileSwitchTest, AMissingFolderListsNoUser) {
    EXPECT_TRUE(listUsers((dir_ / "absent").string()).empty());
}

TEST_F(ProfileSwitchTest, AnExistingUserIsLoadedWithItsTemplates) {
    ASSERT_EQ(unusual().save((dir_ / "configtenor.dat").string()), 0);
    recognizer_.loadResult = 0;
    recognizer_.templates[5] = 1;

    SettingsRecord settings;
    const ProfileSwitchResult r = switchProfile(dir(), "tenor", settings, recognizer_);
    EXPECT_TRUE(r.switched);
    EXPECT_FALSE(r.created);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(settings, unusual());
    EXPECT_EQ(recognizer_.loadedPath, (dir_ / "recordtenor.dat").string());
    EXPECT_EQ(r.templatesPresent[5], 1);
    EXPECT_EQ(recognizer_.callNames(),
              (std::vector<std::string>{"ResetTemplates", "LoadTemplates"}));
}

TEST_F(ProfileSwitchTest, ANewNameIsCreatedWithTheSettingsInForce) {
    SettingsRecord settings = unusual();
    const ProfileSwitchResult r = switchProfile(dir(), "soprano", settings, recognizer_);
    EXPECT_TRUE(r.switched);
    EXPECT_TRUE(r.created);
    EXPECT_EQ(settings, unusual());

    const fs::path written = dir_ / "configsoprano.dat";
    ASSERT_TRUE(fs::exists(written));
    ASSERT_EQ(unusual().save((dir_ / "expected.dat").string()), 0);
    EXPECT_EQ(readBytes(written), readBytes(dir_ / "expected.dat"));
    // No template file yet: every present flag stays 0.
    EXPECT_EQ(recognizer_.loadedPath, (dir_ / "recordsoprano.dat").string());
    EXPECT_EQ(r.templatesPresent, (std::array<std::uint8_t, TemplateSlotCount>{}));
    EXPECT_FALSE(r.templatesUnreadable); // none at all is no damage
}

// The real recogniser refuses a damaged template file: the switch goes on, and says so.
TEST_F(ProfileSwitchTest, AnUnreadableTemplateFileIsReportedAndLeftAsItIs) {
    ASSERT_EQ(unusual().save((dir_ / "configalto.dat").string()), 0);
    std::ofstream(dir_ / "recordalto.dat", std::ios::binary) << "damaged";
    CRecognizer recognizer;
    SettingsRecord settings;
    const ProfileSwitchResult r = switchProfile(dir(), "alto", settings, recognizer);
    EXPECT_TRUE(r.switched);
    EXPECT_TRUE(r.templatesUnreadable);
    EXPECT_EQ(r.templatesPresent, (std::array<std::uint8_t, TemplateSlotCount>{}));
    EXPECT_EQ(readBytes(dir_ / "recordalto.dat"),
              (std::vector<char>{'d', 'a', 'm', 'a', 'g', 'e', 'd'}));
}

// A template file holding one word in slot 5: two samples and one frame of zeros.
void writeOneWordTemplateFile(const fs::path& p) {
    std::vector<unsigned char> bytes;
    const auto put = [&](std::uint32_t u) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<unsigned char>(u >> shift));
        }
    };
    put(0x42C80000); // noise level 100.0f
    put(5);          // slot
    put(4);          // sample bytes
    put(0x00020001); // samples 1 and 2
    put(1);          // frames
    for (int v = 0; v < 512; ++v) {
        put(0);
    }
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The real recogniser: after a switch it holds the new user's templates only, so nothing the
// previous user recorded is matched or saved under the new user's name.
TEST_F(ProfileSwitchTest, TheNextUserDoesNotInheritThePreviousUsersTemplates) {
    writeOneWordTemplateFile(dir_ / "record.dat");
    CRecognizer recognizer;
    std::array<std::uint8_t, TemplateSlotCount> present{};
    ASSERT_EQ(recognizer.LoadTemplates((dir_ / "record.dat").string(), present), 0);
    ASSERT_EQ(recognizer.slot(5).length(), 4u);

    SettingsRecord settings;
    const ProfileSwitchResult r = switchProfile(dir(), "bob", settings, recognizer);
    ASSERT_TRUE(r.switched);
    EXPECT_EQ(r.templatesPresent[5], 0);
    EXPECT_EQ(recognizer.slot(5).length(), 0u);
    ASSERT_EQ(recognizer.SaveTemplates((dir_ / "recordbob.dat").string()), 0);
    EXPECT_EQ(fs::file_size(dir_ / "recordbob.dat"), 4u); // the noise level alone

    // Back to the first user: its word comes back from its file.
    EXPECT_TRUE(switchProfile(dir(), "", settings, recognizer).switched);
    EXPECT_EQ(recognizer.slot(5).length(), 4u);
}

TEST_F(ProfileSwitchTest, TheEmptyNameIsTheDefaultUser) {
    ASSERT_EQ(unusual().save((dir_ / "config.dat").string()), 0);
    SettingsRecord settings;
    EXPECT_TRUE(switchProfile(dir(), "", settings, recognizer_).switched);
    EXPECT_EQ(settings, unusual());
    EXPECT_EQ(recognizer_.loadedPath, (dir_ / "record.dat").string());
}

TEST_F(ProfileSwitchTest, HostileNamesAreRefusedAndNothingIsWrittenAnywhere) {
    touch("config.dat");
    const auto before = tree();
    const std::vector<std::string> names = {
        "../evil",
        "a/b",
        "..\\x",
        "/tmp/x",
        ".",
        "..",
        std::string("a\0b", 3),
        "tab\tname",
        "line\nbreak",
        std::string(502, 'n'),
        std::string(300, 'n'), // fits the limit but not the file system's name length
        "\xff\xfe"};
    for (const std::string& name : names) {
        SettingsRecord settings = unusual();
        const ProfileSwitchResult r = switchProfile(dir(), name, settings, recognizer_);
        EXPECT_FALSE(r.switched) << name;
        EXPECT_FALSE(r.message.empty()) << name;
        EXPECT_EQ(settings, unusual()) << name;
    }
    EXPECT_TRUE(recognizer_.calls.empty());
    EXPECT_EQ(tree(), before);
}

TEST_F(ProfileSwitchTest, ALongNameTheFileSystemTakesIsAccepted) {
    const std::string name(200, 'l'); // well within the usual 255-byte limit of a file name
    SettingsRecord settings;
    EXPECT_TRUE(switchProfile(dir(), name, settings, recognizer_).created);
    EXPECT_TRUE(fs::exists(dir_ / settingsFileName(name)));
}

// A name whose settings file name is exactly as long as the file system allows: the user is
// created and its settings can be saved again, whatever the save writes beside the file first.
TEST_F(ProfileSwitchTest, ANameAtTheFileSystemsLengthLimitCanBeCreatedAndSaved) {
    const long nameMax = ::pathconf(dir().c_str(), _PC_NAME_MAX);
    if (nameMax <= 0 || static_cast<std::size_t>(nameMax) > MaxUserNameLength + 10) {
        GTEST_SKIP() << "no file name limit below the user name limit here";
    }
    const std::string name(static_cast<std::size_t>(nameMax) - 10, 'l');
    ASSERT_EQ(settingsFileName(name).size(), static_cast<std::size_t>(nameMax));
    SettingsRecord settings = unusual();
    const ProfileSwitchResult r = switchProfile(dir(), name, settings, recognizer_);
    EXPECT_TRUE(r.switched) << r.message;
    EXPECT_TRUE(r.created);
    settings.speed = 2;
    EXPECT_EQ(saveUserSettings(dir(), name, settings), "");
    SettingsRecord read;
    ASSERT_EQ(read.load((dir_ / settingsFileName(name)).string()), 0);
    EXPECT_EQ(read.speed, 2);
    EXPECT_EQ(tree(), (std::set<std::string>{"work", "work/" + settingsFileName(name)}));
}

TEST_F(ProfileSwitchTest, AFolderInTheWayIsNotTakenForAUser) {
    fs::create_directory(dir_ / "configbox.dat");
    SettingsRecord settings = unusual();
    const ProfileSwitchResult r = switchProfile(dir(), "box", settings, recognizer_);
    EXPECT_FALSE(r.switched);
    EXPECT_NE(r.message.find("folder"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir_ / "configbox.dat"));
    EXPECT_TRUE(recognizer_.calls.empty());
}

TEST_F(ProfileSwitchTest, ANewUserThatCannotBeWrittenIsRefused) {
    SettingsRecord settings = unusual();
    const ProfileSwitchResult r =
        switchProfile((dir_ / "absent").string(), "soprano", settings, recognizer_);
    EXPECT_FALSE(r.switched);
    EXPECT_NE(r.message.find("could not be written"), std::string::npos);
    EXPECT_TRUE(recognizer_.calls.empty());
    EXPECT_EQ(settings, unusual());
}

// Runs f with this process unable to write files longer than 100 bytes, as on a full disk.
template <typename F> void withTinyFileLimit(F f) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    f();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
}

TEST_F(ProfileSwitchTest, AFullDiskRefusesANewUserAndLeavesNoFile) {
    SettingsRecord settings = unusual();
    ProfileSwitchResult r;
    withTinyFileLimit([&] { r = switchProfile(dir(), "soprano", settings, recognizer_); });
    EXPECT_FALSE(r.switched);
    EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(ProfileSwitchTest, SavingReportsAFailureAndKeepsTheOldFile) {
    const fs::path file = dir_ / "configalto.dat";
    EXPECT_EQ(saveUserSettings(dir(), "alto", SettingsRecord{}), "");
    const auto old = readBytes(file);
    ASSERT_EQ(old.size(), static_cast<std::size_t>(SettingsFileSize));

    std::string message;
    withTinyFileLimit([&] { message = saveUserSettings(dir(), "alto", unusual()); });
    EXPECT_NE(message.find("configalto.dat"), std::string::npos);
    EXPECT_EQ(readBytes(file), old);

    EXPECT_FALSE(saveUserSettings(dir(), "../alto", SettingsRecord{}).empty());
    EXPECT_FALSE(fs::exists(parent_ / "config..dat"));
    EXPECT_EQ(tree(), (std::set<std::string>{"work", "work/configalto.dat"}));
}

} // namespace
} // namespace tessimo
