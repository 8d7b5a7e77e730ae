// The user's settings: what the exercises draw from, how notes sound, tempo, metre, naming,
// mouse options and game limits. One record exists while the program runs; only the
// configuration dialog writes it. Plain data: the user-interface thread owns it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "files/AtomicFileWrite.h"
#include "files/SafeFileOpen.h"

namespace tessimo {

// Why a settings file could not be read: what the entry is (Missing, a kind that is not a
// regular file, or Regular when opening or reading it failed) and the errno.
struct SettingsReadFailure {
    FileKind kind = FileKind::Regular;
    int error = 0;
};

enum SoundMode : int { Voice = 0, Instrument = 1, Synthesizer = 2 };
enum Clef : int { Treble = 0, Bass = 1 };

struct SettingsRecord {
    std::int32_t speed = 3; // 0..10; 0 makes the staff wait for the user
    std::int32_t beatsPerBar = 4;
    std::int32_t beatsPerBarChoice = 2; // beatsPerBar - 2
    std::int32_t maxErrors = 10;
    std::int32_t maxUnknown = 10;
    std::int32_t clef = Treble;
    // Element m is the check box of duration code 13 - m (element 0 the sixty-fourth).
    std::array<std::int32_t, 14> durationChecks = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0};
    std::int32_t errorLimitOn = 0;
    std::int32_t unknownLimitOn = 0;
    std::int32_t namingConvention = 0;
    std::int32_t soundMode = Synthesizer;
    std::int32_t sustain = 1; // the sustain flag of program 0
    std::int32_t intervalsTogether = 1;
    std::int32_t intervalsUp = 0;
    std::int32_t intervalsDown = 0;
    std::int32_t selectedNotesOnly = 0;
    std::int32_t dragWithMouse = 1;
    std::int32_t wheelChangesType = 0;
    std::int32_t beatLength = 32;
    std::int32_t beatChoice = 4;
    std::array<std::int32_t, 13> intervals = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    // Element i is pitch 36 + i; the default selects every natural.
    std::array<std::int32_t, 48> notes = {1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1, 1, 0, 1, 0,
                                          1, 1, 0, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1,
                                          0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1};
    std::int32_t instrument = 0;
    // By duration code (0 the dotted whole); the default allows the dotted quarter and quarter.
    std::array<std::int32_t, 14> durations = {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    std::array<std::int32_t, 20> chords = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                           1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    // Derived from durations: the enabled codes in ascending order.
    std::array<std::int32_t, 14> durationList = {4, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::int32_t durationCount = 2;
    std::int32_t key = 0; // scale row last shown by the dialog; not saved

    // Rebuilds durationList and durationCount from durations.
    void buildDurationList();

    // Reads the settings file at path into the record: 129 little-endian 32-bit integers in
    // file order. Fields a short file does not cover keep their values, a trailing partial
    // field keeps its value, bytes past the 516th are ignored. The result is then made valid
    // (makeValid) and durationList rebuilt. Returns 0, or -1 when the file cannot be opened or
    // read (the record is then unchanged, and failure, when given, says why). Only a regular
    // file is read: a link, folder, named pipe, socket or device is refused without being
    // opened, so loading never blocks on it. User-interface thread.
    int load(const std::string& path, SettingsReadFailure* failure = nullptr);

    // Writes the 516-byte file to path atomically: a temporary file in the same directory,
    // flushed to disk and renamed over the old one. Returns 0, or -1 when it cannot be written
    // (outcome, when given, says why); the old file is then intact and no temporary file is
    // left. An entry at path that is not a regular file is refused and left alone.
    // User-interface thread.
    int save(const std::string& path, FileWriteResult* outcome = nullptr) const;

    // Brings every field a file can carry into its valid range, restores the derived fields
    // and rebuilds durationList. Rules (nearest valid value):
    //  - ranged fields are clamped to their bounds: speed 0..10, beatsPerBarChoice 0..4,
    //    clef 0..1, namingConvention 0..2, soundMode 0..2, beatChoice 0..7, instrument 0..127;
    //  - maxErrors and maxUnknown are kept as held: the dialog accepts any integer for them
    //    and they only bound a count, so every value is safe;
    //  - a flag is 1 when it held any nonzero value, as every reader of the flags treats it;
    //  - the choices win over the values derived from them: beatsPerBar = beatsPerBarChoice + 2,
    //    beatLength = BeatTable[beatChoice];
    //  - durations wins over durationChecks (the game plays durations; the dialog then shows
    //    what is played): durationChecks[m] = durations[13 - m];
    //  - chord slots 10..19 name no chord and are kept as held.
    // Any thread that owns the record.
    void makeValid();

    // True when every field is in its valid range and the derived fields agree with the ones
    // they come from (the state makeValid produces). Any thread that owns the record.
    bool isValid() const;

    bool operator==(const SettingsRecord&) const = default;
};

// Size of the settings file: 129 signed 32-bit little-endian integers.
inline constexpr int SettingsFieldCount = 129;
inline constexpr int SettingsFileSize = SettingsFieldCount * 4;

// "config%s.dat" and "record%s.dat" for a user name (the default user's name is empty).
std::string settingsFileName(const std::string& userName);
std::string templateFileName(const std::string& userName);

} // namespace tessimo
