#include "shell/ExerciseDialogsAdapter.h"

namespace tessimo {

// This build has no profile or configuration dialog yet: both commands act as if cancelled
// and say so.
bool ExerciseDialogsAdapter::showProfileDialog(std::string&) {
    if (m_onStatus) {
        m_onStatus(QStringLiteral("The profile dialog is not available in this build."));
    }
    return false;
}

bool ExerciseDialogsAdapter::showConfigureDialog(SettingsRecord&) {
    if (m_onStatus) {
        m_onStatus(QStringLiteral("The configuration dialog is not available in this build."));
    }
    return false;
}

} // namespace tessimo
