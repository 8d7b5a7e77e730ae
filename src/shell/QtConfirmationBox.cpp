#include "shell/QtConfirmationBox.h"

#include <QMessageBox>

namespace tessimo {

bool QtConfirmationBox::confirm(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

} // namespace tessimo
