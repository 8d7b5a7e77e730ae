#include "model/UserPreferences.h"

#include <fstream>
#include <sstream>

#include "model/AtomicFileWrite.h"

namespace tessimo {
namespace {

constexpr const char* RecognitionKey = "recognition";
constexpr std::size_t MaxFileBytes = 64 * 1024; // far more than any preferences file holds

} // namespace

std::string PreferencesFileName(const std::string& user) {
    return "prefs" + user + ".txt";
}

UserPreferences LoadPreferences(const std::string& path) {
    UserPreferences prefs;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return prefs;
    }
    std::string text(MaxFileBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > MaxFileBytes) {
        return prefs; // not a preferences file
    }
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == std::string(RecognitionKey) + "=adaptive") {
            prefs.adaptiveRecognition = true;
        } else if (line == std::string(RecognitionKey) + "=documented") {
            prefs.adaptiveRecognition = false;
        } else if (line.rfind(std::string(RecognitionKey) + "=", 0) == 0) {
            // A value this version does not know: the default, and the line is not kept twice.
        } else if (!line.empty()) {
            prefs.otherLines.push_back(line);
        }
    }
    return prefs;
}

std::string EncodePreferences(const UserPreferences& prefs) {
    std::string text = std::string(RecognitionKey) + "=" +
                       (prefs.adaptiveRecognition ? "adaptive" : "documented") + "\n";
    for (const auto& line : prefs.otherLines) {
        text += line + "\n";
    }
    return text;
}

bool SavePreferences(const std::string& path, const UserPreferences& prefs) {
    const std::string text = EncodePreferences(prefs);
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace tessimo
