// The user's preferences that the settings file does not hold (that file keeps its fixed
// layout): a small text file per user, "prefs<name>.ini", of "key = value" lines after a
// versioned first line. Each preference is a typed field of PreferenceValues; keys this
// version does not know are kept as read and written back, so a newer program's preferences
// survive a save by an older one. No Qt; the user-interface thread owns the object.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/AtomicFileWrite.h"

namespace tessimo {

// Where the answers of a Recognize game come from.
enum class RecognizeInput { Microphone, MidiKeyboard };

// Which recogniser judges spoken and played answers: the adaptive one (room measured at the
// start, limits from the user's own templates, pitch tracker) or the documented one.
enum class RecognitionChoice { Adaptive, Documented };

// The typed preferences, with their defaults.
struct PreferenceValues {
    RecognizeInput recognizeInput = RecognizeInput::Microphone;  // key "recognize.input"
    RecognitionChoice recognition = RecognitionChoice::Adaptive; // key "recognition.path"
    // Notes Dictation and Recognize ask more often the pitches the history shows as weak
    // (always within the selection); off, questions are drawn evenly.
    bool weakSpotPractice = false; // key "practice.weak-spots", "on" or "off"
    // The sound set-up: devices by name, empty for the system's default, and the master
    // volume in percent (0..100; 70 plays words as recorded).
    std::string outputDevice; // key "sound.output"
    std::string inputDevice;  // key "sound.input"
    int volumePercent = 70;   // key "sound.volume"

    bool operator==(const PreferenceValues&) const = default;
};

struct PreferencesLoad {
    enum class Outcome {
        Loaded,     // read; message is empty, or names values that were not understood
        Missing,    // no file: the defaults stand, and no message is due
        Unreadable, // the entry is not a regular file or cannot be read; message says why
        Refused,    // the content is not a preferences file or is hostile; message says why
    };
    Outcome outcome = Outcome::Missing;
    std::string
        message; // one or more plain sentences for the user; "" when there is nothing to say
};

class UserPreferences {
public:
    // The format version this program writes. A file of a later version is read all the same
    // (keys are only ever added), and keeps its version when saved.
    static constexpr int FormatVersion = 1;
    // Larger files are refused unread: a preferences file is a few lines.
    static constexpr std::size_t MaxFileSize = 64 * 1024;
    static constexpr std::size_t MaxLineLength = 1024;
    // Longer device names are not kept (the default device is used instead).
    static constexpr std::size_t MaxDeviceNameLength = 256;

    const PreferenceValues& values() const { return values_; }
    PreferenceValues& values() { return values_; }

    // Reads the file at path. Only a regular file is opened (never a link, pipe or device).
    // Returns what happened; unless the outcome is Loaded the object is unchanged. A value
    // that is not understood leaves that preference at its default and is named in the
    // message. User-interface thread; blocks only on the disk.
    PreferencesLoad load(const std::string& path);

    // Writes the file atomically (see writeFileAtomically): the old file stays whole on any
    // failure. User-interface thread; blocks on the disk.
    FileWriteResult save(const std::string& path) const;

    // The file's text, and the parse of one; the parse changes the object only when its
    // outcome is Loaded. Any thread that owns the object.
    std::string toText() const;
    PreferencesLoad fromText(std::string_view text);

private:
    PreferencesLoad parse(std::string_view text, std::string_view subject);

    PreferenceValues values_;
    int version_ = FormatVersion;
    std::vector<std::pair<std::string, std::string>> unknown_; // in file order
};

// "prefs%s.ini" for a user name (the default user's name is empty).
std::string preferencesFileName(const std::string& userName);

} // namespace tessimo
