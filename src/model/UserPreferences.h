// A user's preferences that are not part of the settings record (which keeps its fixed 516
// bytes): a small text file of its own, "prefs<name>.txt" beside the user's other files, one
// "key=value" line per preference. Lines this version does not know are kept as they were, so
// a file written by a later version loses nothing when an earlier one saves it. No Qt.
#pragma once

#include <string>
#include <vector>

namespace tessimo {

struct UserPreferences {
    // Which recognition path Recognize follows: the adaptive one (noise floor measured at the
    // start, limits from the user's templates, pitch tracker) unless the user chose the
    // documented one.
    bool adaptiveRecognition = true;
    // Lines of the file that are not known here, in their order.
    std::vector<std::string> otherLines;
};

// "prefs" + user + ".txt". Any thread.
std::string PreferencesFileName(const std::string& user);

// The preferences in path; the defaults for anything the file does not say, and for a file
// that is missing or cannot be read. Any thread; blocks.
UserPreferences LoadPreferences(const std::string& path);

// The file's text for prefs. Any thread.
std::string EncodePreferences(const UserPreferences& prefs);

// Writes prefs to path atomically. False when it cannot be written (the old file is then
// whole). Any thread; blocks.
bool SavePreferences(const std::string& path, const UserPreferences& prefs);

} // namespace tessimo
