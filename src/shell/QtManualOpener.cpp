#include "shell/QtManualOpener.h"

#include "game/CommandIds.h"
#include "shell/UserManual.h"

namespace tessimo {

void QtManualOpener::openManual(const std::string& path) {
    const ManualLanguage language =
        path == FrenchManualPath ? ManualLanguage::French : ManualLanguage::English;
    const QString failure = tessimo::openManual(language);
    if (!failure.isEmpty() && m_onFailure) {
        m_onFailure(failure);
    }
}

} // namespace tessimo
