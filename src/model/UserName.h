// Checks a user name before it becomes part of a file name ("config<name>.dat",
// "record<name>.dat"). Pure functions; any thread.
#pragma once

#include <cstddef>
#include <string_view>

namespace tessimo {

// Longest name in bytes: the per-user file names were formed in a 512-character buffer.
inline constexpr std::size_t MaxUserNameLength = 501;

enum class UserNameProblem {
    None,
    TooLong,          // more than MaxUserNameLength bytes
    PathSeparator,    // '/' or '\\': the file would land in another folder
    ControlCharacter, // NUL, tab, line breaks and the other control characters
    DotName,          // "." or "..", the names of folders
    NotText,          // bytes that are not UTF-8 text
    OnlySpaces,       // nothing but spaces: looks like no name, or like another user's
    Invisible,        // zero-width or text-direction characters: shows as another name
};

// The first problem found in name, or None. The empty name (the default user) is fine.
UserNameProblem checkUserName(std::string_view name);

// One sentence in plain words saying why a name was refused; "" for None.
const char* describeUserNameProblem(UserNameProblem problem);

} // namespace tessimo
