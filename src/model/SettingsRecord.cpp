#include "model/SettingsRecord.h"

namespace tessimo {

void SettingsRecord::buildDurationList() {
    durationCount = 0;
    for (int code = 0; code < static_cast<int>(durations.size()); ++code) {
        if (durations[code] != 0) {
            durationList[durationCount++] = code;
        }
    }
}

std::string settingsFileName(const std::string& userName) {
    return "config" + userName + ".dat";
}

std::string templateFileName(const std::string& userName) {
    return "record" + userName + ".dat";
}

} // namespace tessimo
