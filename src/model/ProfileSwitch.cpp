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
        if (it->is_directory(typeError)) {
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
                                  SettingsRecord& settings, RecognizerEntryPoints& recognizer) {
    const UserNameProblem problem = checkUserName(userName);
    if (problem != UserNameProblem::None) {
        return refused(describeUserNameProblem(problem));
    }
    const std::string fileName = settingsFileName(userName);
    const std::string path = userFilePath(directory, fileName);

    // Asking for the file's status writes nothing and tells an unknown user (no such file)
    // from a name the file system does not accept (too long, for instance).
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec && status.type() != fs::file_type::not_found) {
        return refused("This name cannot be used for a file here (" + ec.message() + ").");
    }

    ProfileSwitchResult result;
    if (fs::exists(status)) {
        if (fs::is_directory(status)) {
            return refused("A folder named " + fileName +
                           " is in the working folder, so this name cannot be used.");
        }
        if (settings.load(path) != 0) {
            return refused("The settings file " + fileName +
                           " of this user cannot be read; it was left as it is.");
        }
    } else {
        if (settings.save(path) != 0) {
            return refused("The settings of the new user could not be written to " + fileName +
                           " (the folder may be read-only, the disk full, or the name not "
                           "allowed by the file system).");
        }
        result.created = true;
    }
    result.switched = true;
    recognizer.LoadTemplates(userFilePath(directory, templateFileName(userName)),
                             result.templatesPresent);
    return result;
}

std::string saveUserSettings(const std::string& directory, const std::string& userName,
                             const SettingsRecord& settings) {
    const UserNameProblem problem = checkUserName(userName);
    if (problem != UserNameProblem::None) {
        return std::string("The settings were not saved: ") + describeUserNameProblem(problem);
    }
    const std::string fileName = settingsFileName(userName);
    if (settings.save(userFilePath(directory, fileName)) != 0) {
        return "The settings could not be saved to " + fileName +
               " (the folder may be read-only or the disk full); they stay in use until you quit.";
    }
    return "";
}

} // namespace tessimo
