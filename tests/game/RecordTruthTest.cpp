// Record counts a word only when the recogniser made a template of it, says which words to
// record again, and never replaces the template file by recordings that all captured nothing.
#include <gtest/gtest.h>

#include "game/EngineRig.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tessimo {
namespace {

using namespace tessimo::testing;

// Runs Record and its replay to the end (wordCount words).
void recordAll(EngineRig& rig) {
    ASSERT_TRUE(rig.view.onCommand(RecordCommand));
    for (int i = 0; i < 200 && rig.view.gameMode() != GameMode::Idle; ++i) {
        rig.tick();
    }
    ASSERT_EQ(rig.view.gameMode(), GameMode::Idle);
}

int saves(const EngineRig& rig) {
    const auto names = rig.recognizer.callNames();
    return static_cast<int>(std::count(names.begin(), names.end(), "SaveTemplates"));
}

TEST(RecordTruth, AWordThatCapturedNothingStaysUnrecordedAndIsNamed) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 62, 64});
    s.soundMode = Instrument;
    rig.prepare(s);
    rig.recognizer.silentSlots[62] = true;
    recordAll(rig);
    EXPECT_EQ(rig.view.pitchTable()[60].hasTemplate, 1);
    EXPECT_EQ(rig.view.pitchTable()[62].hasTemplate, 0);
    EXPECT_EQ(rig.view.pitchTable()[64].hasTemplate, 1);
    ASSERT_FALSE(rig.status.messages.empty());
    EXPECT_EQ(rig.status.messages.front(), "Nothing was heard for RE 4: record again");
    EXPECT_EQ(saves(rig), 1); // the words that were heard are kept
    // Recognize needs every selected word; Record is offered again.
    EXPECT_FALSE(rig.view.isCommandEnabled(RecognizeCommand));
    EXPECT_TRUE(rig.view.isCommandEnabled(RecordCommand));
}

TEST(RecordTruth, VoiceNamesEveryMissedRecordingAndNothingHeardSavesNothing) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 67});
    s.soundMode = Voice;
    rig.prepare(s);
    rig.recognizer.silentSlots.fill(true); // a deaf microphone
    recordAll(rig);
    for (int slot : {0, 12, 24, 7, 19, 31}) {
        EXPECT_EQ(rig.view.pitchTable()[slot].hasTemplate, 0) << slot;
    }
    ASSERT_GE(rig.status.messages.size(), 2u);
    EXPECT_EQ(rig.status.messages[rig.status.messages.size() - 2],
              "Nothing was heard for DO, SOL: record again");
    EXPECT_EQ(rig.status.messages.back(), "Nothing was recorded; record.dat was left as it was");
    EXPECT_EQ(saves(rig), 0);
}

TEST(RecordTruth, AFailedSaveIsSaid) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60});
    s.soundMode = Instrument;
    rig.prepare(s);
    rig.recognizer.saveResult = -1;
    recordAll(rig);
    EXPECT_EQ(saves(rig), 1);
    ASSERT_FALSE(rig.status.messages.empty());
    EXPECT_EQ(rig.status.messages.back(), "The recordings could not be saved to record.dat");
}

TEST(RecordTruth, LeavingRecordEarlyKeepsWhatWasRecordedSoFar) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 62});
    s.soundMode = Instrument;
    rig.prepare(s);
    ASSERT_TRUE(rig.view.onCommand(RecordCommand));
    // Countdown and noise (3 steps of 5 ticks), the first word, then into the second one.
    rig.ticks(3 * 5 + 5 + 2);
    EXPECT_EQ(rig.view.pitchTable()[60].hasTemplate, 1);
    EXPECT_EQ(rig.view.pitchTable()[62].hasTemplate, 0); // being recorded: not yet a word
    rig.view.onCommand(PlayNotesCommand);
    EXPECT_EQ(saves(rig), 0);
}

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A template file that cannot be read stays the user's: it is named at start, and set aside
// (never replaced, nor is an earlier one set aside) before new recordings are saved.
TEST(RecordTruth, AnUnreadableTemplateFileIsNamedAndSetAsideBeforeNewRecordingsAreSaved) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("tessimo_record_truth_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    std::ofstream("record.dat", std::ios::binary) << "not a template file";
    std::ofstream("record.dat.unreadable", std::ios::binary) << "set aside earlier";

    EngineRig rig;
    rig.recognizer.loadResult = -1;
    const std::string message = rig.view.startUp();
    EXPECT_NE(message.find("The recordings file record.dat could not be read"), std::string::npos)
        << message;
    rig.recognizer.loadResult = 0;
    SettingsRecord s = settingsWith({60});
    s.soundMode = Instrument;
    rig.prepare(s);

    recordAll(rig);
    EXPECT_EQ(saves(rig), 0);
    ASSERT_FALSE(rig.status.messages.empty());
    EXPECT_EQ(rig.status.messages.back(),
              "The recordings were not saved: record.dat could not be read and could not be set "
              "aside as record.dat.unreadable.");
    EXPECT_EQ(contents("record.dat"), "not a template file");
    EXPECT_EQ(contents("record.dat.unreadable"), "set aside earlier");

    std::filesystem::remove("record.dat.unreadable");
    recordAll(rig);
    EXPECT_EQ(saves(rig), 1);
    EXPECT_EQ(contents("record.dat.unreadable"), "not a template file");

    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace tessimo
