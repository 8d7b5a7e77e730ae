// The engine's manual opener: the English or French manual, chosen by the path the engine
// names, is opened from the manuals installed with the program. A failure is reported through
// the status callback and changes nothing else. User-interface thread only.
#pragma once

#include "game/Platform.h"

#include <QString>

#include <functional>

namespace tessimo {

class QtManualOpener final : public ManualOpener {
public:
    using StatusHandler = std::function<void(const QString&)>;

    explicit QtManualOpener(StatusHandler onFailure) : m_onFailure(std::move(onFailure)) {}

    void openManual(const std::string& path) override;

private:
    StatusHandler m_onFailure;
};

} // namespace tessimo
