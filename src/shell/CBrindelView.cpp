#include "shell/CBrindelView.h"

#include "shell/CommandTable.h"
#include "shell/UserManual.h"
#include "sound/SoundOutput.h"

#include <QPainter>

namespace tessimo {

CBrindelView::CBrindelView(std::unique_ptr<MidiOutput> midi, QWidget* parent)
    : CommandView(parent), m_midi(std::move(midi)) {
    if (!m_midi) {
        // Start-up of the synthesiser finishes on a worker thread; its report is queued here.
        m_midi = createSoundOutput(
            [this] { QMetaObject::invokeMethod(this, [this] { reportSoundStatus(); }); });
    }
}

CBrindelView::~CBrindelView() = default;

void CBrindelView::reportSoundStatus() {
    auto* output = dynamic_cast<SoundOutput*>(m_midi.get());
    if (output != nullptr && !output->silenceReason().empty()) {
        emit statusMessage(QString::fromStdString(output->silenceReason()));
    }
}

bool CBrindelView::handlesCommand(int id) const {
    return id != IdExit && id != IdAbout;
}

bool CBrindelView::commandEnabled(int) const {
    return true;
}

void CBrindelView::runCommand(int id) {
    if (id == IdManualEnglish || id == IdManualFrench) {
        const QString failure =
            openManual(id == IdManualFrench ? ManualLanguage::French : ManualLanguage::English);
        if (!failure.isEmpty()) {
            emit statusMessage(failure);
        }
    }
}

bool CBrindelView::isIdle() const {
    return true;
}

void CBrindelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    ++m_framesPainted;
    emit framePainted();
}

} // namespace tessimo
