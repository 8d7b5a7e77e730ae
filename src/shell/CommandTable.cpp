#include "shell/CommandTable.h"

namespace tessimo {

namespace {

constexpr CommandInfo fileItems[] = {
    {IdProfile, "&Profile ...", "", "", ":/toolbar/profile.svg"},
    {IdExit, "&Exit", "Exit the application", "", ""},
};

constexpr CommandInfo gameItems[] = {
    {IdConfigure, "&Configure ...", "Configure the software", "", ":/toolbar/configure.svg"},
    {IdListenNotes, "&Listen notes", "Listen selected notes", "", ":/toolbar/listen-notes.svg"},
    {IdPlayNotes, "Play notes", "Play notes", "", ":/toolbar/play-notes.svg"},
    {IdNotesDictation, "&Notes Dictation", "Listen selected notes and place them", "",
     ":/toolbar/notes-dictation.svg"},
    {IdPlayIntervals, "Play intervals", "Play selected intervals", "",
     ":/toolbar/play-intervals.svg"},
    {IdIntervalDictation, "&Interval Dictation", "Listen selected intervals and place them", "",
     ":/toolbar/interval-dictation.svg"},
    {IdPlayChords, "Play chords", "Play selected chords", "", ":/toolbar/play-chords.svg"},
    {IdChordsDictation, "C&hords Dictation", "Listen selected chords and place them", "",
     ":/toolbar/chords-dictation.svg"},
    {IdRecord, "&Record", "Record the selected notes (voice or inst mode)", "",
     ":/toolbar/record.svg"},
    {IdRecognize, "Reco&gnize",
     "View some scrolling notes and say (or play) them (voice or inst mode)", "",
     ":/toolbar/recognize.svg"},
};

constexpr CommandInfo helpItems[] = {
    {IdManualEnglish, "English", "Browse the on-line user manual", "", ""},
    {IdManualFrench, "Fran\u00e7ais", "Voir le manuel utilisateur en ligne", "", ""},
    {IdAbout, "&About ...", "Display version & copyright", "About", ":/toolbar/about.svg"},
};

constexpr MenuInfo menus[] = {
    {"&File", fileItems},
    {"&Game", gameItems},
    {"Help", helpItems},
};

constexpr int toolBar[] = {
    IdProfile,         IdConfigure,     IdListenNotes,       IdPlayNotes,
    IdNotesDictation,  IdPlayIntervals, IdIntervalDictation, IdPlayChords,
    IdChordsDictation, IdRecord,        IdRecognize,         IdAbout,
};

} // namespace

std::span<const MenuInfo> menuTable() {
    return menus;
}

std::span<const int> toolBarTable() {
    return toolBar;
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
