// The per-user preferences file: defaults, round trip, lines of later versions kept, and files
// that are missing or not preferences at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/UserPreferences.h"

namespace tessimo {
namespace {

namespace fs = std::filesystem;

struct Preferences : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              (std::string("tessimo-prefs-") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path() const { return (dir / PreferencesFileName("Anna")).string(); }
    void write(const std::string& text) const { std::ofstream(path(), std::ios::binary) << text; }
};

TEST_F(Preferences, MissingFileGivesTheAdaptivePath) {
    EXPECT_EQ(PreferencesFileName("Anna"), "prefsAnna.txt");
    EXPECT_TRUE(LoadPreferences(path()).adaptiveRecognition);
}

TEST_F(Preferences, RoundTripKeepsLinesOfLaterVersions) {
    write("theme=dark\r\nrecognition=documented\n\nmetronome=on\n");
    UserPreferences p = LoadPreferences(path());
    EXPECT_FALSE(p.adaptiveRecognition);
    EXPECT_EQ(p.otherLines, (std::vector<std::string>{"theme=dark", "metronome=on"}));
    p.adaptiveRecognition = true;
    ASSERT_TRUE(SavePreferences(path(), p));
    std::ifstream in(path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "recognition=adaptive\ntheme=dark\nmetronome=on\n");
    // Only the one file: the temporary file is gone.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(Preferences, UnknownValueOrOversizedFileGivesTheDefaults) {
    write("recognition=psychic\n");
    UserPreferences p = LoadPreferences(path());
    EXPECT_TRUE(p.adaptiveRecognition);
    EXPECT_TRUE(p.otherLines.empty());
    write("recognition=documented\n" + std::string(70000, 'x'));
    EXPECT_TRUE(LoadPreferences(path()).adaptiveRecognition);
}

TEST_F(Preferences, SaveIntoAMissingFolderFailsAndWritesNothing) {
    const std::string missing = (dir / "gone" / "prefsAnna.txt").string();
    EXPECT_FALSE(SavePreferences(missing, UserPreferences{}));
    EXPECT_FALSE(fs::exists(dir / "gone"));
}

} // namespace
} // namespace tessimo
