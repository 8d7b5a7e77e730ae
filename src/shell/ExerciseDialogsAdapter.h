// The engine's profile and configuration dialogs, shown modally over the view. The dialog
// objects are built on first use (keeping them off the start-up path) and then kept for the
// view's life. User-interface thread only.
#pragma once

#include "game/Platform.h"

#include <memory>

class QWidget;

namespace tessimo {

class CConfigureDialog;
class CProfile;

class ExerciseDialogsAdapter final : public ExerciseDialogs {
public:
    explicit ExerciseDialogsAdapter(QWidget* parent);
    ~ExerciseDialogsAdapter() override;

    // Shows the users with userName current. OK asks switcher to make the chosen name the
    // current user; a refusal is shown under the name and the dialog stays open. True, with
    // userName set, once the switch is done.
    bool showProfileDialog(std::string& userName, const ProfileSwitcher& switcher) override;

    // Edits settings in place; true when closed with OK.
    bool showConfigureDialog(SettingsRecord& settings) override;

private:
    QWidget* m_parent;
    std::unique_ptr<CProfile> m_profile;
    std::unique_ptr<CConfigureDialog> m_configure;
    const SettingsRecord* m_configured = nullptr;
};

} // namespace tessimo
