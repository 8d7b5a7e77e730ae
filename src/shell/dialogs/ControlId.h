// Every control of the dialogs carries its numeric id, both as its object name and as the
// "controlId" property, so the dialogs' logic and the tests address controls by id.
// User-interface thread only.
#pragma once

#include <QWidget>

namespace tessimo {

inline void setControlId(QWidget* widget, int id) {
    widget->setObjectName(QString::number(id));
    widget->setProperty("controlId", id);
}

inline int controlId(const QWidget* widget) {
    return widget->property("controlId").toInt();
}

} // namespace tessimo
