#include "shell/CommandTable.h"

namespace tessimo {

namespace {

constexpr CommandInfo fileItems[] = {
    {IdProfile, "&Profile ...", "Choose the user, or create a new one", "Profile",
     ":/toolbar/profile.svg"},
    {IdExit, "&Exit", "Exit the application", "", ""},
};

constexpr CommandInfo gameItems[] = {
    {IdConfigure, "&Configure ...", "Configure the software", "Configure",
     ":/toolbar/configure.svg"},
    {IdStop, "&Stop", "Stop the running exercise and go back to Play notes", "", ""},
    {IdListenNotes, "&Listen notes", "Listen selected notes", "Listen notes",
     ":/toolbar/listen-notes.svg"},
    {IdPlayNotes, "&Play notes", "Play notes", "Play notes", ":/toolbar/play-notes.svg"},
    {IdNotesDictation, "&Notes Dictation", "Listen selected notes and place them",
     "Notes Dictation", ":/toolbar/notes-dictation.svg"},
    {IdPlayIntervals, "Play in&tervals", "Play selected intervals", "Play intervals",
     ":/toolbar/play-intervals.svg"},
    {IdIntervalDictation, "&Interval Dictation", "Listen selected intervals and place them",
     "Interval Dictation", ":/toolbar/interval-dictation.svg"},
    {IdPlayChords, "Play ch&ords", "Play selected chords", "Play chords",
     ":/toolbar/play-chords.svg"},
    {IdChordsDictation, "C&hords Dictation", "Listen selected chords and place them",
     "Chords Dictation", ":/toolbar/chords-dictation.svg"},
    {IdRecord, "&Record", "Record the selected notes (voice or inst mode)", "Record",
     ":/toolbar/record.svg"},
    {IdRecognize, "Reco&gnize",
     "View some scrolling notes and say (or play) them (voice or inst mode)", "Recognize",
     ":/toolbar/recognize.svg"},
};

constexpr CommandInfo helpItems[] = {
    {IdManualEnglish, "User manual (&English)", "Open the user manual in English", "", ""},
    {IdManualFrench, "&Manuel (fran\u00e7ais)", "Ouvrir le manuel utilisateur en fran\u00e7ais", "",
     ""},
    {IdAbout, "&About ...", "Display version & copyright", "About", ":/toolbar/about.svg"},
};

constexpr MenuInfo menus[] = {
    {"&File", fileItems},
    {"&Game", gameItems},
    {"&Help", helpItems},
};

constexpr int toolBar[] = {
    IdProfile,         IdConfigure,     IdListenNotes,       IdPlayNotes,
    IdNotesDictation,  IdPlayIntervals, IdIntervalDictation, IdPlayChords,
    IdChordsDictation, IdRecord,        IdRecognize,         IdAbout,
};

constexpr int exercises[] = {
    IdListenNotes, IdPlayNotes,       IdNotesDictation, IdPlayIntervals, IdIntervalDictation,
    IdPlayChords,  IdChordsDictation, IdRecord,         IdRecognize,
};

} // namespace

std::span<const MenuInfo> menuTable() {
    return menus;
}

std::span<const int> toolBarTable() {
    return toolBar;
}

std::span<const int> exerciseCommands() {
    return exercises;
}

const CommandInfo* findCommand(int id) {
    for (const MenuInfo& menu : menus) {
        for (const CommandInfo& item : menu.items) {
            if (item.id == id) {
                return &item;
            }
        }
    }
    return nullptr;
}

} // namespace tessimo
