#include "shell/ExerciseDialogsAdapter.h"

#include "shell/dialogs/CConfigureDialog.h"
#include "shell/dialogs/CProfile.h"

namespace tessimo {

ExerciseDialogsAdapter::ExerciseDialogsAdapter(QWidget* parent) : m_parent(parent) {}

ExerciseDialogsAdapter::~ExerciseDialogsAdapter() = default;

bool ExerciseDialogsAdapter::showProfileDialog(std::string& userName,
                                               const ProfileSwitcher& switcher) {
    if (!m_profile) {
        m_profile = std::make_unique<CProfile>(std::string(), m_parent);
    }
    m_profile->setSwitch(switcher);
    m_profile->setUserName(userName);
    if (m_profile->exec() != QDialog::Accepted) {
        return false;
    }
    userName = m_profile->userName();
    return true;
}

bool ExerciseDialogsAdapter::showConfigureDialog(SettingsRecord& settings) {
    // The dialog is bound to the record it edits; the engine's record lives as long as it.
    if (!m_configure || m_configured != &settings) {
        m_configure = std::make_unique<CConfigureDialog>(settings, m_parent);
        m_configured = &settings;
    }
    return m_configure->exec() == QDialog::Accepted;
}

} // namespace tessimo
