// Switching to another user: the file side of the Profile command, the list of users, and
// saving the current user's settings. Every user-supplied name passes checkUserName before a
// file name is formed from it, so no name reaches a file outside the given directory.
// All functions run on the user-interface thread (they touch the settings record and the
// recogniser's templates).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/SettingsRecord.h"
#include "recognition/TemplateStore.h"

namespace tessimo {

struct ProfileSwitchResult {
    bool switched = false; // false: refused, nothing changed (settings, templates, files)
    bool created = false;  // the settings in force were saved as the new user's file
    std::string message;   // why the switch was refused, in plain words
    // The LoadTemplates present flags of the new user (all 0 when it has no template file).
    std::array<std::uint8_t, TemplateSlotCount> templatesPresent{};
    // The new user has a template file that could not be read (damaged, or not one).
    bool templatesUnreadable = false;
};

// The path of fileName inside directory; an empty directory means the working directory.
std::string userFilePath(const std::string& directory, const std::string& fileName);

// The users that have a settings file "config<name>.dat" in directory, sorted (letter case
// ignored first, then byte order). The default user (config.dat), entries that are not
// regular files (folders, links, pipes, sockets, devices), and names that checkUserName
// refuses are left out. An unreadable directory gives an empty list.
std::vector<std::string> listUsers(const std::string& directory);

// Makes userName the current user: when its settings file exists it is loaded into settings,
// otherwise settings (the previous user's) are saved under the new name, which creates the
// user; then the recogniser's templates are replaced by the new user's (none of the previous
// user's words stay, even for slots the new user's file does not mention).
// Refused, with a message and nothing changed or written, when the name fails checkUserName,
// the file system rejects the name, something other than a regular file (a folder, link,
// named pipe, socket or device) has the settings file's name, an existing settings file
// cannot be read (it is not overwritten), or the new file cannot be written. Never blocks on
// what has the file's name.
ProfileSwitchResult switchProfile(const std::string& directory, const std::string& userName,
                                  SettingsRecord& settings, TemplateStore& recognizer);

struct SettingsLoadResult {
    bool loaded = false; // the file was read into the settings
    // The file exists but could not be read (not a regular file, no permission, a read
    // error): settings are unchanged and the file must not be overwritten by a later save.
    bool fileKept = false;
    std::string message; // for fileKept, a sentence for the status bar; else ""
};

// Loads userName's settings file from directory into settings, as at start-up. A missing file
// leaves settings as they are and says nothing.
SettingsLoadResult loadUserSettings(const std::string& directory, const std::string& userName,
                                    SettingsRecord& settings);

// The sentence for a save refused because userName's settings file could not be read when it
// was loaded (SettingsLoadResult::fileKept).
std::string keptSettingsFileMessage(const std::string& userName);

// Saves settings as userName's settings file in directory. Returns "" when saved, else a
// sentence for the status bar saying what failed; the old file is then intact and settings
// are unchanged.
std::string saveUserSettings(const std::string& directory, const std::string& userName,
                             const SettingsRecord& settings);

} // namespace tessimo
