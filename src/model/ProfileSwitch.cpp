#include "model/ProfileSwitch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/UserName.h"

namespace tessimo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view SettingsPrefix = "config";
constexpr std::string_view SettingsSuffix = ".dat";

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                     [](char x, char y) { return lowerAscii(x) < lowerAscii(y); });
    const bool greater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                     [](char x, char y) { return lowerAscii(x) < lowerAscii(y); });
    return less || (!greater && a < b);
}

ProfileSwitchResult refused(std::string message) {
    ProfileSwitchResult result;
    result.message = std::move(message);
    return result;
}

} // namespace

std::string userFilePath(const std::string& directory, const std::string& fileName) {
    if (directory.empty()) {
        return fileName;
    }
    return (fs::path(directory) / fileName).string();
}

std::vector<std::string> listUsers(const std::string& directory) {
    std::vector<std::string> users;
    std::error_code ec;
    fs::directory_iterator it(directory.empty() ? fs::path(".") : fs::path(directory), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string file = it->path().filename().string();
        if (file.size() <= SettingsPrefix.size() + SettingsSuffix.size() ||
            !file.starts_with(SettingsPrefix) || !file.ends_with(SettingsSuffix)) {
            continue;
        }
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || it->is_symlink(typeError)) {
            continue;
        }
        std::string name = file.substr(SettingsPrefix.size(),
                                       file.size() - SettingsPrefix.size() - SettingsSuffix.size());
        if (checkUserName(name) == UserNameProblem::None) {
            users.push_back(std::move(name));
        }
    }
    std::sort(users.begin(), users.end(), lessIgnoringCase);
    return users;
}

ProfileSwitchResult switchProfile(const std::string& directory, const std::string& userName,
                                  SettingsRecord& settings, TemplateStore& recognizer) {
    const UserNameProblem problem = checkUserName(userName);
    if (problem != UserNameProblem::None) {
        return refused(describeUserNameProblem(problem));
    }
    const std::string fileName = settingsFileName(userName);
    const std::string path = userFilePath(directory, fileName);

    // Looking at the entry writes nothing, follows no link, and tells an unknown user (no such
    // file) from a name the file system does not accept (too long, for instance).
    int lookError = 0;
    const FileKind kind = fileKindAt(path, &lookError);
    if (kind == FileKind::Other && lookError != 0) {
        return refused("This name cannot be used for a file here (" + describeErrno(lookError) +
                       ").");
    }
    if (kind == FileKind::Folder) {
        return refused("A folder named " + fileName +
                       " is in the working folder, so this name cannot be used.");
    }
    if (kind != FileKind::Missing && kind != FileKind::Regular) {
        return refused(fileName + " " + describeFileKind(kind) +
                       ", so this name cannot be used; it was left as it is.");
    }

    ProfileSwitchResult result;
    if (kind == FileKind::Regular) {
        SettingsReadFailure failure;
        if (settings.load(path, &failure) != 0) {
            return refused("The settings file " + fileName + " of this user " +
                           describeReadFailure(failure.kind, failure.error) +
                           "; it was left as it is.");
        }
    } else {
        FileWriteResult written;
        if (settings.save(path, &written) != 0) {
            return refused("The settings of the new user could not be written to " + fileName +
                           " (" + describeWriteFailure(written) + ").");
        }
        result.created = true;
    }
    result.switched = true;
    // The previous user's words go first: the new user's file may not mention every slot, and
    // whatever the recogniser holds would be saved under the new name at the next recording.
    recognizer.ResetTemplates();
    const std::string templates = userFilePath(directory, templateFileName(userName));
    result.templatesUnreadable =
        recognizer.LoadTemplates(templates, result.templatesPresent) != 0 &&
        fileKindAt(templates) == FileKind::Regular;
    return result;
}

SettingsLoadResult loadUserSettings(const std::string& directory, const std::string& userName,
                                    SettingsRecord& settings) {
    SettingsLoadResult result;
    if (checkUserName(userName) != UserNameProblem::None) {
        return result;
    }
    const std::string fileName = settingsFileName(userName);
    SettingsReadFailure failure;
    if (settings.load(userFilePath(directory, fileName), &failure) == 0) {
        result.loaded = true;
        return result;
    }
    if (failure.kind == FileKind::Missing) {
        return result; // a new installation: the defaults, and no file until the first save
    }
    result.fileKept = true;
    result.message = "The settings file " + fileName + " " +
                     describeReadFailure(failure.kind, failure.error) +
                     ": the default settings are in use, and the file will not be overwritten.";
    return result;
}

std::string keptSettingsFileMessage(const std::string& userName) {
    return "The settings were not saved: " + settingsFileName(userName) +
           " could not be read at start and is left as it is; they stay in use until you quit.";
}

std::string saveUserSettings(const std::string& directory, const std::string& userName,
                             const SettingsRecord& settings) {
    const UserNameProblem problem = checkUserName(userName);
    if (problem != UserNameProblem::None) {
        return std::string("The settings were not saved: ") + describeUserNameProblem(problem);
    }
    const std::string fileName = settingsFileName(userName);
    FileWriteResult written;
    if (settings.save(userFilePath(directory, fileName), &written) != 0) {
        return "The settings could not be saved to " + fileName + " (" +
               describeWriteFailure(written) + "); they stay in use until you quit.";
    }
    return "";
}

} // namespace tessimo
