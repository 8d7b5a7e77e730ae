// Ids of the configuration dialog's controls and pictures. Pure data.
#pragma once

#include <array>

namespace tessimo::configure {

// SOUNDS
inline constexpr int NamingSolfege = 1068; // radio group start: namingConvention 0..2
inline constexpr int NamingLetter = 1069;
inline constexpr int NamingGerman = 1078;
inline constexpr int ClefTreble = 1046; // radio group start: clef 0..1
inline constexpr int ClefBass = 1047;
inline constexpr int ModeVoice = 1066; // radio group start: soundMode 0..2
inline constexpr int ModeInstrument = 1067;
inline constexpr int ModeSynthesizer = 1071;
inline constexpr int SharpLabel = 1300;
inline constexpr int NotesAll = 1044;
inline constexpr int NotesNone = 1043;
inline constexpr int KeyList = 1092;
inline constexpr int Sustain = 1076;
inline constexpr int InstrumentList = 1075;

// The note boxes in pitch order: bass set notes[0..23], treble set notes[24..47].
inline constexpr std::array<int, 24> BassNoteIds = {1036, 1037, 1038, 1039, 1040, 1041, 1042, 1056,
                                                    1057, 1058, 1059, 1060, 1061, 1062, 1201, 1202,
                                                    1203, 1204, 1205, 1206, 1207, 1208, 1209, 1210};
inline constexpr std::array<int, 24> TrebleNoteIds = {
    1211, 1212, 1213, 1214, 1215, 1216, 1217, 1218, 1219, 1220, 1221, 1222,
    1223, 1224, 1225, 1226, 1227, 1228, 1229, 1230, 1231, 1232, 1233, 1234};
// Offsets of the black keys within a set of 24.
inline constexpr std::array<int, 10> AccidentalOffsets = {1, 3, 6, 8, 10, 13, 15, 18, 20, 22};

// TEMPO: beatChoice 0..7 in this order (eighth, dotted eighth, ..., whole, dotted whole).
inline constexpr std::array<int, 8> BeatValueIds = {1102, 1107, 1103, 1108, 1104, 1109, 1105, 1110};
// beatsPerBarChoice 0..4 ("2" to "6").
inline constexpr std::array<int, 5> BeatsPerBarIds = {1026, 1027, 1028, 1029, 1032};
inline constexpr int PreviewBeats = 1302;
inline constexpr int PreviewUnit = 1303;
inline constexpr int SpeedSlider = 1025;
// The note-value box of durationChecks[m]; duration code 13 - m.
inline constexpr std::array<int, 14> DurationBoxIds = {1053, 1093, 1052, 1077, 1051, 1074, 1050,
                                                       1073, 1049, 1072, 1048, 1070, 1045, 1065};
inline constexpr int HiddenDurationBox = 1093; // the dotted sixty-fourth
inline constexpr int DurationsAll = 1055;
inline constexpr int DurationsNone = 1054;

// INTERVALS && CHORDS: the box of interval size n (1..12) is FirstIntervalBox - 1 + n.
inline constexpr int FirstIntervalBox = 1079;
inline constexpr int LastIntervalBox = 1090;
inline constexpr int IntervalsAll = 1063;
inline constexpr int IntervalsNone = 1064;
inline constexpr int IntervalsTogether = 1091;
inline constexpr int IntervalsUp = 1094;
inline constexpr int IntervalsDown = 1095;
inline constexpr int DragWithMouse = 1098;
inline constexpr int WheelChangesType = 1097;
inline constexpr int SelectedNotesOnly = 1106;
inline constexpr int ChordList = 1096;

// GAME
inline constexpr int ErrorLimit = 1030;
inline constexpr int MaxErrorsEdit = 1015;
inline constexpr int MaxErrorsSpin = 1016;
inline constexpr int UnknownLimit = 1031;
inline constexpr int MaxUnknownEdit = 1019;
inline constexpr int MaxUnknownSpin = 1020;

inline constexpr int OkButton = 1;
inline constexpr int CancelButton = 2;

// Pictures.
inline constexpr int NoteValuesPicture = 146;
inline constexpr int TrebleChoicePicture = 148;
inline constexpr int BassChoicePicture = 149;
inline constexpr int TrebleStaff = 150;
inline constexpr int VoicePicture = 152;
inline constexpr int InstrumentPicture = 153;
inline constexpr int TrebleStaffFolded = 154;
inline constexpr int BassStaff = 155;
inline constexpr int BassStaffFolded = 156;
inline constexpr int BassClefOnStaff = 162;
inline constexpr int TrebleClefOnStaff = 163;
inline constexpr int SynthesizerPicture = 164;
inline constexpr int IntervalsPicture = 165;
inline constexpr int ChordsPicture = 166;
inline constexpr int HarePicture = 182;
inline constexpr int TortoisePicture = 183;
inline constexpr int KeyPicture = 184;

} // namespace tessimo::configure
