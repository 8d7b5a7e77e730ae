#include "shell/CAboutDlg.h"

#include "shell/DialogUnits.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace tessimo {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About tessimo"));
    setModal(true);
    const DialogUnits du(fontMetrics());

    auto* icon = new QLabel(this);
    const int iconSize = du.y(20);
    icon->setPixmap(QIcon(QStringLiteral(":/icon/tessimo.svg")).pixmap(iconSize, iconSize));
    icon->setGeometry(du.x(16), du.y(13), iconSize, iconSize);

    m_version = new QLabel(this);
    m_version->setTextFormat(Qt::PlainText);
    m_version->setText(QStringLiteral("Tessimo version 10.0"));
    m_version->move(du.x(54), du.y(11));
    m_version->adjustSize();

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_ok->setGeometry(du.rect(17, 85, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(du.x(170), du.y(110));
}

} // namespace tessimo
