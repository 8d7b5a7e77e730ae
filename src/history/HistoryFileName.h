// The name of a user's practice history file, beside the user's other files. Pure; any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessimo {

// "history<name>.sqlite" in folder ("" or ending without a separator means the working
// directory / that folder), or nothing when the name is refused by the same rules as the
// settings and template file names (checkUserName).
std::optional<std::string> historyFilePath(std::string_view userName,
                                           const std::string& folder = "");

} // namespace tessimo
