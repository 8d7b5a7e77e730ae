// The engine's profile and configuration dialogs, shown modally over the view.
// User-interface thread only.
#pragma once

#include "game/Platform.h"

#include <QString>

#include <functional>

class QWidget;

namespace tessimo {

class ExerciseDialogsAdapter final : public ExerciseDialogs {
public:
    using StatusHandler = std::function<void(const QString&)>;

    ExerciseDialogsAdapter(QWidget* parent, StatusHandler onStatus)
        : m_parent(parent), m_onStatus(std::move(onStatus)) {}

    bool showProfileDialog(std::string& userName) override;
    bool showConfigureDialog(SettingsRecord& settings) override;

private:
    QWidget* m_parent;
    StatusHandler m_onStatus;
};

} // namespace tessimo
