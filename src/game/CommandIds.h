// Ids of the menu and tool-bar commands the view handles (and of About, which the shell
// handles and enables only while no exercise runs).
#pragma once

namespace tessimo {

enum CommandId : int {
    ProfileCommand = 32803,
    ConfigureCommand = 32771,
    ListenNotesCommand = 32783,
    PlayNotesCommand = 32794,
    NotesDictationCommand = 32798,
    PlayIntervalsCommand = 32795,
    IntervalDictationCommand = 32791,
    PlayChordsCommand = 32797,
    ChordsDictationCommand = 32792,
    RecordCommand = 32782,
    RecognizeCommand = 32784,
    EnglishManualCommand = 32786,
    FrenchManualCommand = 32789,
    AboutCommand = 57664,
};

// Paths of the online manuals on the server that hosts them.
inline constexpr const char* EnglishManualPath = "/www/downloads/Quendel/MU-quendel-en.pdf";
inline constexpr const char* FrenchManualPath = "/www/downloads/Quendel/MU-quendel.pdf";

// Texts of the confirmation asked before recording.
inline constexpr const char* RecordConfirmCaption = "Record activity";
inline constexpr const char* RecordConfirmText = "You are about to record selected notes";

} // namespace tessimo
