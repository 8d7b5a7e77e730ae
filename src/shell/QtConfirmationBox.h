// The engine's confirmation: a modal message box with OK and Cancel and the warning
// (exclamation) icon. User-interface thread only.
#pragma once

#include "game/Platform.h"

class QWidget;

namespace tessimo {

class QtConfirmationBox final : public ConfirmationBox {
public:
    explicit QtConfirmationBox(QWidget* parent) : m_parent(parent) {}

    // True only when OK closed the box; Cancel, Escape and the close box give false.
    bool confirm(const std::string& caption, const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace tessimo
