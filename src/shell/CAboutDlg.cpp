#include "shell/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>

#ifndef TESSIMO_VERSION
#define TESSIMO_VERSION "10.0"
#endif
#ifndef TESSIMO_FLUIDSYNTH_VERSION
#define TESSIMO_FLUIDSYNTH_VERSION ""
#endif
#ifndef TESSIMO_PORTAUDIO_VERSION
#define TESSIMO_PORTAUDIO_VERSION ""
#endif

namespace tessimo {

namespace {

constexpr int IconSize = 48;

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString aboutLibrariesText() {
    const QString fluid = QStringLiteral(TESSIMO_FLUIDSYNTH_VERSION);
    const QString portaudio = QStringLiteral(TESSIMO_PORTAUDIO_VERSION);
    return CAboutDlg::tr("Built with Qt %1 (running on Qt %2), the FluidSynth synthesizer%3 "
                         "and the PortAudio sound library%4.")
        .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()),
             fluid.isEmpty() ? QString() : QStringLiteral(" ") + fluid,
             portaudio.isEmpty() ? QString() : QStringLiteral(" ") + portaudio);
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About tessimo"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icon/tessimo.svg")).pixmap(IconSize, IconSize));
    icon->setAlignment(Qt::AlignTop);

    m_version = plainLabel(tr("Tessimo version %1").arg(QStringLiteral(TESSIMO_VERSION)), this);
    QFont bold = m_version->font();
    bold.setBold(true);
    m_version->setFont(bold);
    m_copyright = plainLabel(tr("Copyright © 2026 the Tessimo developers.\n"
                                "A trainer for reading and hearing musical notes."),
                             this);
    m_licence = plainLabel(
        tr("Free software under the GNU General Public License, version 3 or (at your option) "
           "any later version. It comes with no warranty."),
        this);
    m_libraries = plainLabel(aboutLibrariesText(), this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_version);
    texts->addWidget(m_copyright);
    texts->addWidget(m_licence);
    texts->addWidget(m_libraries);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the texts to wrap in a few lines, never wider than a small screen.
    for (QLabel* label : {m_copyright, m_licence, m_libraries}) {
        label->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    }
}

} // namespace tessimo
