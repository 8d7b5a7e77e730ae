#include "history/HistoryFileName.h"

#include "model/UserName.h"

namespace tessimo {

std::optional<std::string> historyFilePath(std::string_view userName, const std::string& folder) {
    if (checkUserName(userName) != UserNameProblem::None) {
        return std::nullopt;
    }
    std::string path = folder;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += "history";
    path += userName;
    path += ".sqlite";
    return path;
}

} // namespace tessimo
