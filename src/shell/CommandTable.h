// The program's commands as the menu and the tool bar show them: ids, menu texts with their
// access keys, status-bar prompts, tooltips and tool-bar pictures. Constant data, readable
// from any thread.
#pragma once

#include "game/CommandIds.h"

#include <QString>

#include <span>

namespace tessimo {

// Command ids of the menu and the tool bar: the engine's, and Exit, which the frame handles.
enum ShellCommandId : int {
    IdProfile = ProfileCommand,
    IdExit = 57665,
    IdConfigure = ConfigureCommand,
    IdListenNotes = ListenNotesCommand,
    IdPlayNotes = PlayNotesCommand,
    IdNotesDictation = NotesDictationCommand,
    IdPlayIntervals = PlayIntervalsCommand,
    IdIntervalDictation = IntervalDictationCommand,
    IdPlayChords = PlayChordsCommand,
    IdChordsDictation = ChordsDictationCommand,
    IdRecord = RecordCommand,
    IdRecognize = RecognizeCommand,
    IdManualEnglish = EnglishManualCommand,
    IdManualFrench = FrenchManualCommand,
    IdAbout = AboutCommand,
    IdStop = 32900,            // the frame's: stops what runs and goes back to Play notes (Escape)
    IdStatistics = 32910,      // the view widget's: opens the statistics window
    IdSoundSetup = 32911,      // the view's: the sound set-up dialog
    IdKeyboardAnswers = 32912, // the view's option: Recognize answered on the MIDI keyboard
};

// The texts are in English; translatedCommandText gives them in the interface's language.
struct CommandInfo {
    int id;
    const char* text;    // menu text, '&' before the access key
    const char* prompt;  // status-bar text while the item or button is under the pointer
    const char* tooltip; // tool-bar tooltip (every button has one), empty for menu-only items
    const char* picture; // resource path of the tool-bar picture, empty when not on the bar
};

struct MenuInfo {
    const char* title;
    std::span<const CommandInfo> items;
};

// The three menus in order, each with its items in order.
std::span<const MenuInfo> menuTable();

// The ids of the tool-bar buttons, left to right.
std::span<const int> toolBarTable();

// The commands that start an exercise; the running one shows checked.
std::span<const int> exerciseCommands();

// The commands that switch an option on or off; each shows checked while it is on.
std::span<const int> optionCommands();

// A text of the tables (menu text, prompt, tooltip) in the interface's language.
QString translatedCommandText(const char* text);

// The command with this id, or nullptr.
const CommandInfo* findCommand(int id);

} // namespace tessimo
