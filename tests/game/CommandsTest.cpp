#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "EngineRig.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::settingsWith;
using testing::settingsWithRange;

TEST(Enabling, VoiceWithoutRecordingOnlyAllowsRecord) {
    EngineRig rig;
    SettingsRecord s = settingsWith({62});
    s.soundMode = Voice;
    rig.prepare(s);
    EXPECT_FALSE(rig.view.isCommandEnabled(ListenNotesCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayNotesCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(NotesDictationCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(RecognizeCommand));
    EXPECT_TRUE(rig.view.isCommandEnabled(RecordCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayIntervalsCommand)); // needs the synthesiser
    // The first recording of the name (slot 2) enables them.
    rig.recognizer.templates[2] = 1;
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    rig.prepare(s);
    EXPECT_TRUE(rig.view.isCommandEnabled(NotesDictationCommand));
    EXPECT_TRUE(rig.view.isCommandEnabled(RecognizeCommand));
}

TEST(Enabling, SynthesizerNeverRecordsOrRecognises) {
    EngineRig rig;
    rig.recognizer.templates.fill(1);
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    rig.prepare(settingsWithRange(36, 83));
    EXPECT_FALSE(rig.view.isCommandEnabled(RecordCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(RecognizeCommand));
    EXPECT_TRUE(rig.view.isCommandEnabled(ListenNotesCommand));
    // Nothing selected: nothing to listen to.
    rig.prepare(settingsWith({}));
    EXPECT_FALSE(rig.view.isCommandEnabled(ListenNotesCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayIntervalsCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayChordsCommand));
}

TEST(Enabling, IntervalAndChordRules) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(48, 72);
    rig.prepare(s);
    EXPECT_TRUE(rig.view.isCommandEnabled(PlayIntervalsCommand));
    EXPECT_TRUE(rig.view.isCommandEnabled(ChordsDictationCommand));

    SettingsRecord fixedGroups = s;
    fixedGroups.dragWithMouse = 0;
    fixedGroups.wheelChangesType = 0;
    rig.prepare(fixedGroups);
    for (int c : {PlayIntervalsCommand, IntervalDictationCommand, PlayChordsCommand,
                  ChordsDictationCommand}) {
        EXPECT_FALSE(rig.view.isCommandEnabled(c)) << c;
    }

    SettingsRecord noDirection = s;
    noDirection.intervalsTogether = 0;
    rig.prepare(noDirection);
    EXPECT_FALSE(rig.view.isCommandEnabled(IntervalDictationCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayChordsCommand));

    SettingsRecord noValue = s;
    noValue.durations.fill(0);
    rig.prepare(noValue);
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayIntervalsCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(ListenNotesCommand));

    // Only 60 and 62 selected, with every note of a group selected: only a second fits.
    SettingsRecord pair = settingsWith({60, 62});
    pair.selectedNotesOnly = 1;
    pair.intervals.fill(0);
    pair.intervals[3] = 1;
    rig.prepare(pair);
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayIntervalsCommand));
    pair.intervals[2] = 1;
    rig.prepare(pair);
    EXPECT_TRUE(rig.view.isCommandEnabled(PlayIntervalsCommand));
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayChordsCommand));

    // A chord must fit below 83; slots 10..19 never count.
    SettingsRecord top = settingsWith({80});
    top.chords.fill(0);
    top.chords[0] = 1;
    top.chords[15] = 1;
    rig.prepare(top);
    EXPECT_FALSE(rig.view.isCommandEnabled(PlayChordsCommand));
    top.notes[76 - 36] = 1;
    rig.prepare(top);
    EXPECT_TRUE(rig.view.isCommandEnabled(PlayChordsCommand));

    // A metre the note values cannot fill disables the note games.
    SettingsRecord odd = s;
    odd.durations.fill(0);
    odd.durations[0] = 1; // 96 units
    odd.beatLength = 32;
    odd.beatsPerBar = 4;
    rig.prepare(odd);
    EXPECT_FALSE(rig.view.isCommandEnabled(NotesDictationCommand));
    EXPECT_TRUE(rig.view.isCommandEnabled(PlayChordsCommand)); // any value suffices there
}

TEST(Enabling, DisabledCommandDoesNothingAndAboutFollowsIdle) {
    EngineRig rig;
    rig.prepare(settingsWith({60}));
    EXPECT_TRUE(rig.view.isCommandEnabled(AboutCommand));
    EXPECT_TRUE(rig.view.onCommand(RecognizeCommand));
    EXPECT_EQ(rig.view.gameMode(), GameMode::PlayNotes);
    rig.view.onCommand(NotesDictationCommand);
    EXPECT_FALSE(rig.view.isCommandEnabled(AboutCommand));
    EXPECT_FALSE(rig.view.onCommand(12345));
    EXPECT_FALSE(rig.view.isCommandEnabled(12345));
}

// Tests that read or write the user files do so in a folder of their own.
class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("tessimo_commands_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        old = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(old);
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
    std::filesystem::path old;
};

TEST(Commands, StartResetsScoreAndStopsSound) {
    EngineRig rig;
    rig.prepare(settingsWithRange(60, 72));
    rig.view.onCommand(NotesDictationCommand);
    rig.ticks(10);
    rig.view.onMouseMove(rig.staffPoint(60), false);
    rig.view.onLButtonDown(rig.staffPoint(60));
    rig.recognizer.calls.clear();
    rig.view.onCommand(NotesDictationCommand);
    EXPECT_EQ(rig.view.state().okCount + rig.view.state().errorCount, 0);
    EXPECT_EQ(rig.view.state().hoverPitch, -1);
    EXPECT_TRUE(rig.view.questionNotes().empty());
    EXPECT_EQ(rig.recognizer.callNames(),
              (std::vector<std::string>{"StopCapture", "StopWordPlayback"}));
    const std::size_t stops = rig.midi.calls.size();
    rig.view.onCommand(ListenNotesCommand);
    ASSERT_EQ(rig.midi.calls.size(), stops + 1);
    EXPECT_EQ(rig.midi.calls.back().program, -1); // MidiStop
}

// Listen notes leaves a note held whatever the sustain; any exercise started after it, Play
// notes among them, must not let it sound on.
TEST_F(FileCommands, EveryExerciseStartSilencesWhatSounds) {
    for (int command : {PlayNotesCommand, NotesDictationCommand, PlayIntervalsCommand,
                        IntervalDictationCommand, PlayChordsCommand, ChordsDictationCommand,
                        ListenNotesCommand, ConfigureCommand, ProfileCommand}) {
        EngineRig rig;
        rig.prepare(settingsWithRange(60, 72));
        rig.view.onCommand(ListenNotesCommand);
        rig.ticks(200);
        ASSERT_FALSE(rig.midi.notes().empty());
        const std::size_t calls = rig.midi.calls.size();
        const int silences = rig.midi.silences;
        rig.view.onCommand(command);
        const bool stopped = rig.midi.calls.size() > calls && rig.midi.calls[calls].program == -1;
        EXPECT_TRUE(stopped || rig.midi.silences > silences) << "command " << command;
    }
}

TEST(Commands, CancelledRecordLeavesTheStoppedExercise) {
    EngineRig rig;
    SettingsRecord s = settingsWithRange(60, 72);
    s.soundMode = Instrument;
    rig.recognizer.templates.fill(1);
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    rig.prepare(s);
    rig.view.onCommand(NotesDictationCommand);
    rig.ticks(5);
    rig.confirmation.answer = false;
    rig.view.onCommand(RecordCommand);
    EXPECT_EQ(rig.confirmation.asked, 1);
    EXPECT_EQ(rig.view.gameMode(), GameMode::NotesDictation);
    EXPECT_FALSE(rig.running());
}

TEST_F(FileCommands, ConfigureCancelStillRebuilds) {
    EngineRig rig;
    rig.prepare(settingsWith({60}));
    rig.view.onCommand(NotesDictationCommand);
    rig.dialogs.configureOk = false;
    rig.view.settings().notes[62 - 36] = 1; // as if edited, but cancelled
    rig.view.onCommand(ConfigureCommand);
    EXPECT_EQ(rig.view.gameMode(), GameMode::PlayNotes);
    EXPECT_TRUE(rig.view.idle());
    EXPECT_EQ(rig.view.selectedCount(), 2);
    rig.dialogs.configureOk = true;
    rig.dialogs.edit = [](SettingsRecord& s) { s.notes[64 - 36] = 1; };
    EXPECT_FALSE(std::filesystem::exists("config.dat")); // cancelled: nothing written
    rig.view.onCommand(ConfigureCommand);
    EXPECT_EQ(rig.view.selectedCount(), 3);
    EXPECT_EQ(std::filesystem::file_size("config.dat"), 516u);
}

TEST_F(FileCommands, ProfileCancelStaysIdleAndChoiceLoadsFiles) {
    EngineRig rig;
    rig.prepare(settingsWith({60}));
    rig.dialogs.profileOk = false;
    rig.view.onCommand(ProfileCommand);
    EXPECT_EQ(rig.view.gameMode(), GameMode::Idle);
    EXPECT_TRUE(rig.view.idle());

    rig.dialogs.profileOk = true;
    rig.dialogs.chosenName = "anna";
    rig.recognizer.templates[5] = 1;
    rig.recognizer.loadResult = 0;
    rig.view.onCommand(ProfileCommand);
    EXPECT_EQ(rig.view.userName(), "anna");
    EXPECT_TRUE(std::filesystem::exists("configanna.dat")); // a new user keeps the settings in use
    EXPECT_EQ(rig.recognizer.loadedPath, "recordanna.dat");
    EXPECT_EQ(rig.view.pitchTable()[5].hasTemplate, 1);
    EXPECT_EQ(rig.view.gameMode(), GameMode::PlayNotes);

    // An existing user's settings are read, not overwritten.
    SettingsRecord bob;
    bob.speed = 7;
    ASSERT_EQ(bob.save("configbob.dat"), 0);
    rig.dialogs.chosenName = "bob";
    rig.view.onCommand(ProfileCommand);
    EXPECT_EQ(rig.view.settings().speed, 7);
    EXPECT_EQ(rig.view.selectedCount(), 28);
}

TEST_F(FileCommands, ConfigureSaveFailureIsReportedAndTheSettingsStay) {
    EngineRig rig;
    rig.prepare(settingsWith({60}));
    std::filesystem::create_directory("config.dat"); // the file cannot be written
    rig.dialogs.edit = [](SettingsRecord& s) { s.notes[64 - 36] = 1; };
    rig.view.onCommand(ConfigureCommand);
    ASSERT_EQ(rig.status.messages.size(), 1u);
    EXPECT_FALSE(rig.status.messages[0].empty());
    EXPECT_EQ(rig.view.selectedCount(), 2); // the edited settings are in use
    EXPECT_TRUE(std::filesystem::is_directory("config.dat"));

    std::filesystem::remove("config.dat");
    rig.view.onCommand(ConfigureCommand);
    EXPECT_EQ(rig.status.messages.size(), 1u); // a good save says nothing
    EXPECT_EQ(std::filesystem::file_size("config.dat"), 516u);
}

TEST_F(FileCommands, RefusedProfileKeepsTheUserAndWritesNothing) {
    EngineRig rig;
    rig.prepare(settingsWith({60}));
    rig.dialogs.chosenName = "../outside";
    rig.view.onCommand(ProfileCommand);
    ASSERT_EQ(rig.dialogs.refusals.size(), 1u);
    EXPECT_EQ(rig.view.userName(), "");
    EXPECT_TRUE(std::filesystem::is_empty(".")); // nothing created here
    EXPECT_FALSE(std::filesystem::exists("../outside.dat"));
    EXPECT_FALSE(std::filesystem::exists("../configoutside.dat"));
}

TEST_F(FileCommands, ANewUserStartsWithoutThePreviousUsersTemplates) {
    EngineRig rig;
    rig.prepare(settingsWith({60}));
    rig.recognizer.templates[7] = 1;
    rig.recognizer.loadResult = -1; // the new user has no template file
    rig.dialogs.chosenName = "carla";
    rig.view.onCommand(ProfileCommand);
    EXPECT_EQ(rig.view.userName(), "carla");
    const auto names = rig.recognizer.callNames();
    const auto reset = std::find(names.begin(), names.end(), "ResetTemplates");
    ASSERT_NE(reset, names.end());
    EXPECT_NE(std::find(reset, names.end(), "LoadTemplates"), names.end());
    EXPECT_EQ(rig.view.pitchTable()[7].hasTemplate, 0);
}

TEST(Commands, ManualsOpenTheirPaths) {
    EngineRig rig;
    rig.view.onCommand(EnglishManualCommand);
    rig.view.onCommand(FrenchManualCommand);
    ASSERT_EQ(rig.manuals.opened.size(), 2u);
    EXPECT_EQ(rig.manuals.opened[0], "/www/downloads/Quendel/MU-quendel-en.pdf");
    EXPECT_EQ(rig.manuals.opened[1], "/www/downloads/Quendel/MU-quendel.pdf");
    EXPECT_EQ(rig.view.gameMode(), GameMode::Idle);
}

TEST_F(FileCommands, StartUpPreparesTheExercise) {
    EngineRig rig;
    EXPECT_EQ(rig.view.gameMode(), GameMode::Idle);
    EXPECT_EQ(rig.view.startUp(), "");
    EXPECT_EQ(rig.view.gameMode(), GameMode::PlayNotes);
    EXPECT_EQ(rig.view.selectedCount(), 28); // all naturals by default
    EXPECT_EQ(rig.view.staffLayout().staffBaseY, 1938);
}

} // namespace
} // namespace tessimo
