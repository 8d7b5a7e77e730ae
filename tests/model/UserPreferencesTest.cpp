// The per-user preferences file: its text, keys it does not know kept across a save, and
// files that are not preferences refused with a message while the defaults stand.
#include "model/UserPreferences.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tessimo {
namespace {

namespace fs = std::filesystem;
using Outcome = PreferencesLoad::Outcome;

class UserPreferencesFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("tessimo-prefs-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& user = "Anna") const {
        return (folder_ / preferencesFileName(user)).string();
    }
    void write(const std::string& text, const std::string& user = "Anna") const {
        std::ofstream(path(user), std::ios::binary) << text;
    }
    std::string read(const std::string& user = "Anna") const {
        std::ifstream in(path(user), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path folder_;
};

TEST_F(UserPreferencesFile, SavedAndLoadedBackWithTheExactText) {
    UserPreferences prefs;
    EXPECT_EQ(prefs.values().recognizeInput, RecognizeInput::Microphone); // the default
    EXPECT_EQ(prefs.values().recognition, RecognitionChoice::Adaptive);   // the default
    prefs.values().recognizeInput = RecognizeInput::MidiKeyboard;
    prefs.values().recognition = RecognitionChoice::Documented;
    EXPECT_FALSE(prefs.values().weakSpotPractice); // the default
    prefs.values().weakSpotPractice = true;
    ASSERT_TRUE(prefs.save(path()));
    EXPECT_EQ(read(), "tessimo-preferences 1\nrecognize.input = midi-keyboard\n"
                      "recognition.path = documented\npractice.weak-spots = on\n"
                      "sound.output = \"\"\nsound.input = \"\"\nsound.volume = 70\n");

    UserPreferences again;
    const PreferencesLoad result = again.load(path());
    EXPECT_EQ(result.outcome, Outcome::Loaded);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(again.values().recognizeInput, RecognizeInput::MidiKeyboard);
    EXPECT_EQ(again.values().recognition, RecognitionChoice::Documented);
    EXPECT_TRUE(again.values().weakSpotPractice);
    EXPECT_EQ(preferencesFileName(""), "prefs.ini");
}

// Device names are kept exactly (spaces at the ends too); a name that could not be read back
// is written as the default device, and a volume out of range keeps the default.
TEST_F(UserPreferencesFile, SoundDevicesAndVolumeRoundTripAndBadValuesKeepTheDefaults) {
    UserPreferences prefs;
    prefs.values().outputDevice = " USB Audio: \"Desk\" (hw:1,0) ";
    prefs.values().inputDevice = "pulse";
    prefs.values().volumePercent = 35;
    ASSERT_TRUE(prefs.save(path()));
    UserPreferences again;
    ASSERT_EQ(again.load(path()).outcome, Outcome::Loaded);
    EXPECT_EQ(again.values(), prefs.values());

    prefs.values().outputDevice = std::string(UserPreferences::MaxDeviceNameLength + 1, 'x');
    prefs.values().inputDevice = "bad\x01name";
    ASSERT_TRUE(prefs.save(path()));
    const PreferencesLoad reloaded = again.load(path());
    ASSERT_EQ(reloaded.outcome, Outcome::Loaded);
    EXPECT_EQ(reloaded.message, "");
    EXPECT_EQ(again.values().outputDevice, "");
    EXPECT_EQ(again.values().inputDevice, "");

    write("tessimo-preferences 1\nsound.volume = 101\nsound.output = " +
          std::string(UserPreferences::MaxDeviceNameLength + 3, 'y') + "\n");
    const PreferencesLoad bad = again.load(path());
    ASSERT_EQ(bad.outcome, Outcome::Loaded);
    EXPECT_NE(bad.message.find("sound.volume"), std::string::npos);
    EXPECT_NE(bad.message.find("sound.output"), std::string::npos);
    EXPECT_EQ(again.values().volumePercent, 70);
    EXPECT_EQ(again.values().outputDevice, "");

    // A carriage return or a tab inside a name could not be written back: refused on reading.
    write("tessimo-preferences 1\nsound.input = \"a\rb\"\nsound.output = \"c\td\"\n");
    const PreferencesLoad control = again.load(path());
    ASSERT_EQ(control.outcome, Outcome::Loaded);
    EXPECT_NE(control.message.find("sound.input"), std::string::npos);
    EXPECT_NE(control.message.find("sound.output"), std::string::npos);
    EXPECT_EQ(again.values().inputDevice, "");
    EXPECT_EQ(again.values().outputDevice, "");
    const std::string written = again.toText();
    UserPreferences third;
    ASSERT_EQ(third.fromText(written).message, "");
    EXPECT_EQ(third.toText(), written);
}

TEST_F(UserPreferencesFile, NoFileLeavesTheDefaultsWithoutAMessage) {
    UserPreferences prefs;
    const PreferencesLoad result = prefs.load(path("Nobody"));
    EXPECT_EQ(result.outcome, Outcome::Missing);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(prefs.values(), PreferenceValues{});
}

TEST_F(UserPreferencesFile, KeysOfANewerVersionSurviveASave) {
    write("tessimo-preferences 3\r\n"
          "# written by hand\r\n"
          "\r\n"
          "staff.colour = dark blue  \r\n"
          "  recognize.input=microphone\r\n"
          "keyboard.transpose = -12\r\n"
          "staff.colour = navy\r\n"); // a repeated key: the later value wins
    UserPreferences prefs;
    ASSERT_EQ(prefs.load(path()).outcome, Outcome::Loaded);
    prefs.values().recognizeInput = RecognizeInput::MidiKeyboard;
    ASSERT_TRUE(prefs.save(path()));
    EXPECT_EQ(read(), "tessimo-preferences 3\n"
                      "recognize.input = midi-keyboard\n"
                      "recognition.path = adaptive\n"
                      "practice.weak-spots = off\n"
                      "sound.output = \"\"\n"
                      "sound.input = \"\"\n"
                      "sound.volume = 70\n"
                      "staff.colour = navy\n"
                      "keyboard.transpose = -12\n");
}

TEST_F(UserPreferencesFile, AValueNotUnderstoodKeepsTheDefaultAndSaysSo) {
    write("tessimo-preferences 1\nrecognize.input = banjo\npractice.weak-spots = yes\n");
    UserPreferences prefs;
    prefs.values().recognizeInput = RecognizeInput::MidiKeyboard;
    const PreferencesLoad result = prefs.load(path());
    EXPECT_EQ(result.outcome, Outcome::Loaded);
    EXPECT_EQ(prefs.values().recognizeInput, RecognizeInput::Microphone);
    EXPECT_FALSE(prefs.values().weakSpotPractice);
    EXPECT_NE(result.message.find("recognize.input = \"banjo\" is not understood"),
              std::string::npos)
        << result.message;
    EXPECT_NE(result.message.find("practice.weak-spots = \"yes\" is not understood"),
              std::string::npos)
        << result.message;
}

TEST_F(UserPreferencesFile, ContentThatIsNoPreferencesFileIsRefusedAndChangesNothing) {
    const std::string tooLong(UserPreferences::MaxLineLength + 1, 'x');
    const struct {
        std::string text;
        std::string says;
    } cases[] = {
        {"", "is not a Tessimo preferences file"},
        {"recognize.input = midi-keyboard\n", "is not a Tessimo preferences file"},
        {"tessimo-preferences\n", "is not a Tessimo preferences file"},
        {"tessimo-preferences 0\n", "is not a Tessimo preferences file"},
        {"tessimo-preferences 1x\n", "is not a Tessimo preferences file"},
        {"tessimo-preferences 99999999999999\n", "is not a Tessimo preferences file"},
        {std::string("tessimo-preferences 1\nrecognize.input = midi\0keyboard\n", 55), "not text"},
        {"tessimo-preferences 1\nname = \xC0\xAF\n", "not text"},     // overlong encoding
        {"tessimo-preferences 1\nname = \xED\xA0\x80\n", "not text"}, // a surrogate
        {"tessimo-preferences 1\nname = \xE2\x82\n", "not text"},     // cut short
        {"tessimo-preferences 1\nname = a\x1b[2Jb\n", "not text"},    // terminal escape
        {"tessimo-preferences 1\njust words\n", "line 2"},
        {"tessimo-preferences 1\n= value\n", "line 2"},
        {"tessimo-preferences 1\n../x = 1\n", "line 2"},
        {"tessimo-preferences 1\nKey = 1\n", "line 2"},
        {"tessimo-preferences 1\nk = " + tooLong + "\n", "too long"},
    };
    for (const auto& c : cases) {
        write(c.text);
        UserPreferences prefs;
        prefs.values().recognizeInput = RecognizeInput::MidiKeyboard;
        const PreferencesLoad result = prefs.load(path());
        EXPECT_EQ(result.outcome, Outcome::Refused) << c.text;
        EXPECT_NE(result.message.find(c.says), std::string::npos) << result.message;
        EXPECT_NE(result.message.find(path()), std::string::npos) << result.message;
        EXPECT_EQ(prefs.values().recognizeInput, RecognizeInput::MidiKeyboard)
            << "changed by " << c.text;
    }
}

TEST_F(UserPreferencesFile, OversizedFilesAreRefusedUnreadAndWritesStayLoadable) {
    write("tessimo-preferences 1\n# " + std::string(UserPreferences::MaxFileSize, 'x') + "\n");
    UserPreferences prefs;
    EXPECT_EQ(prefs.load(path()).outcome, Outcome::Refused);

    // Many unknown keys just within the read limit would grow past it when written back.
    std::string text = "tessimo-preferences 1\n";
    for (int i = 0; text.size() < UserPreferences::MaxFileSize - 40; ++i) {
        text += "k" + std::to_string(i) + "=1\n";
    }
    write(text);
    const PreferencesLoad result = prefs.load(path());
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_NE(result.message.find("more entries"), std::string::npos) << result.message;
}

TEST_F(UserPreferencesFile, EntriesThatAreNotRegularFilesAreNotOpened) {
    ASSERT_EQ(::mkfifo(path().c_str(), 0600), 0);
    UserPreferences prefs;
    const PreferencesLoad pipe = prefs.load(path()); // would block if it were opened
    EXPECT_EQ(pipe.outcome, Outcome::Unreadable);
    EXPECT_NE(pipe.message.find("pipe"), std::string::npos) << pipe.message;
    EXPECT_FALSE(prefs.save(path())); // and never written through
    fs::remove(path());

    write("tessimo-preferences 1\nrecognize.input = midi-keyboard\n", "Real");
    fs::create_symlink(path("Real"), path());
    EXPECT_EQ(prefs.load(path()).outcome, Outcome::Unreadable);
    EXPECT_EQ(prefs.values().recognizeInput, RecognizeInput::Microphone);
}

} // namespace
} // namespace tessimo
