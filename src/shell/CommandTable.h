// The program's commands as the menu and the tool bar show them: ids, menu texts with their
// access keys, status-bar prompts, tooltips and tool-bar pictures. Constant data, readable
// from any thread.
#pragma once

#include <array>
#include <span>

namespace tessimo {

// Command ids shared by the menu, the tool bar and the view's command handlers.
enum ShellCommandId : int {
    IdProfile = 32803,
    IdExit = 57665,
    IdConfigure = 32771,
    IdListenNotes = 32783,
    IdPlayNotes = 32794,
    IdNotesDictation = 32798,
    IdPlayIntervals = 32795,
    IdIntervalDictation = 32791,
    IdPlayChords = 32797,
    IdChordsDictation = 32792,
    IdRecord = 32782,
    IdRecognize = 32784,
    IdManualEnglish = 32786,
    IdManualFrench = 32789,
    IdAbout = 57664,
};

struct CommandInfo {
    int id;
    const char* text;    // menu text, '&' before the access key
    const char* prompt;  // status-bar text while the item or button is under the pointer
    const char* tooltip; // tool-bar tooltip, empty for none
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

// The command with this id, or nullptr.
const CommandInfo* findCommand(int id);

} // namespace tessimo
