#include "shell/CommandTable.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace tessimo {

namespace {

constexpr CommandInfo fileItems[] = {
    {IdProfile, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Profile ..."),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Choose the user, or create a new one"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Profile"), ":/toolbar/profile.svg"},
    {IdSoundSetup, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Sound set-up ..."),
     QT_TRANSLATE_NOOP("tessimo::CommandTable",
                       "Choose the sound devices, test them and set the volume"),
     "", ""},
    {IdExit, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Exit"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Exit the application"), "", ""},
};

constexpr CommandInfo gameItems[] = {
    {IdConfigure, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Configure ..."),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Configure the software"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Configure"), ":/toolbar/configure.svg"},
    {IdStatistics, QT_TRANSLATE_NOOP("tessimo::CommandTable", "St&atistics ..."),
     QT_TRANSLATE_NOOP("tessimo::CommandTable",
                       "Show the practice history: weak notes, answers per day, confusions"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Statistics"), ":/toolbar/statistics.svg"},
    {IdStop, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Stop"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable",
                       "Stop the running exercise and go back to Play notes"),
     "", ""},
    {IdListenNotes, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Listen notes"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Listen selected notes"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Listen notes"), ":/toolbar/listen-notes.svg"},
    {IdPlayNotes, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Play notes"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play notes"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play notes"), ":/toolbar/play-notes.svg"},
    {IdNotesDictation, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Notes Dictation"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Listen selected notes and place them"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Notes Dictation"),
     ":/toolbar/notes-dictation.svg"},
    {IdPlayIntervals, QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play in&tervals"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play selected intervals"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play intervals"), ":/toolbar/play-intervals.svg"},
    {IdIntervalDictation, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Interval Dictation"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Listen selected intervals and place them"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Interval Dictation"),
     ":/toolbar/interval-dictation.svg"},
    {IdPlayChords, QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play ch&ords"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play selected chords"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Play chords"), ":/toolbar/play-chords.svg"},
    {IdChordsDictation, QT_TRANSLATE_NOOP("tessimo::CommandTable", "C&hords Dictation"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Listen selected chords and place them"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Chords Dictation"),
     ":/toolbar/chords-dictation.svg"},
    {IdRecord, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Record"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Record the selected notes (voice or inst mode)"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Record"), ":/toolbar/record.svg"},
    {IdRecognize, QT_TRANSLATE_NOOP("tessimo::CommandTable", "Reco&gnize"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable",
                       "View some scrolling notes and say (or play) them (voice or inst mode)"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Recognize"), ":/toolbar/recognize.svg"},
    {IdKeyboardAnswers,
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Recognize on the MIDI &keyboard"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable",
                       "Answer Recognize by playing the notes on a MIDI keyboard instead of the "
                       "microphone, in any sound mode"),
     "", ""},
};

constexpr CommandInfo helpItems[] = {
    {IdManualEnglish, QT_TRANSLATE_NOOP("tessimo::CommandTable", "User manual (&English)"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Open the user manual in English"), "", ""},
    {IdManualFrench, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Manuel (français)"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Ouvrir le manuel utilisateur en français"), "",
     ""},
    {IdAbout, QT_TRANSLATE_NOOP("tessimo::CommandTable", "&About ..."),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "Display version & copyright"),
     QT_TRANSLATE_NOOP("tessimo::CommandTable", "About"), ":/toolbar/about.svg"},
};

constexpr MenuInfo menus[] = {
    {QT_TRANSLATE_NOOP("tessimo::CommandTable", "&File"), fileItems},
    {QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Game"), gameItems},
    {QT_TRANSLATE_NOOP("tessimo::CommandTable", "&Help"), helpItems},
};

constexpr int toolBar[] = {
    IdProfile,         IdConfigure,     IdListenNotes,       IdPlayNotes,
    IdNotesDictation,  IdPlayIntervals, IdIntervalDictation, IdPlayChords,
    IdChordsDictation, IdRecord,        IdRecognize,         IdAbout,
    IdStatistics,
};

constexpr int options[] = {IdKeyboardAnswers};

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

QString translatedCommandText(const char* text) {
    return *text == '\0' ? QString() : QCoreApplication::translate("tessimo::CommandTable", text);
}

std::span<const int> exerciseCommands() {
    return exercises;
}

std::span<const int> optionCommands() {
    return options;
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
