// Runs a dialog's exec() with test actions performed inside its modal loop. When the actions
// leave the dialog open (or a check in them failed), it is cancelled so the test never hangs.
#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

namespace tessimo::testing {

inline int runModal(QDialog& dialog, const std::function<void()>& actions) {
    QTimer::singleShot(0, &dialog, [&dialog, actions] {
        actions();
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    return dialog.exec();
}

} // namespace tessimo::testing
