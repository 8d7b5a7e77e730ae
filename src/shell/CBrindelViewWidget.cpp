#include "shell/CBrindelViewWidget.h"

#include "audio_devices/PortAudioCapture.h"
#include "audio_devices/SoundWordOutput.h"
#include "game/MersenneRandom.h"
#include "recognition/CRecognizer.h"
#include "shell/CommandTable.h"
#include "shell/ExerciseDialogsAdapter.h"
#include "shell/QtClock.h"
#include "shell/QtConfirmationBox.h"
#include "shell/QtManualOpener.h"
#include "shell/QtWindowTimer.h"
#include "sound/SoundOutput.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace tessimo {

namespace {

DevicePoint devicePoint(const QPointF& position) {
    return {static_cast<int>(position.x()), static_cast<int>(position.y())};
}

} // namespace

CBrindelViewWidget::CBrindelViewWidget(ViewDevices devices, QWidget* parent) : CommandView(parent) {
    // The whole client area is painted from an off-screen frame: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);

    const auto status = [this](const QString& text) { emit statusMessage(text); };
    m_clock = std::make_unique<QtClock>();
    m_timer = std::make_unique<QtWindowTimer>([this](int number) { onTick(number); });
    m_confirmation = std::make_unique<QtConfirmationBox>(this);
    m_dialogs = devices.dialogs ? std::move(devices.dialogs)
                                : std::make_unique<ExerciseDialogsAdapter>(this);
    m_manuals = std::make_unique<QtManualOpener>(status);
    if (devices.midi) {
        m_midi = std::move(devices.midi);
    } else {
        // The synthesiser starts on a worker thread; its report is queued to this thread.
        auto onStarted = [this] {
            QMetaObject::invokeMethod(this, [this] { reportSoundStatus(); });
        };
        m_midi = devices.soundFontDirectory.empty()
                     ? createSoundOutput(onStarted)
                     : std::make_unique<SoundOutput>(onStarted, devices.soundFontDirectory);
    }
    if (devices.recognizer) {
        m_recognizer = std::move(devices.recognizer);
    } else {
        createRecognizer();
    }
    m_random = std::make_unique<MersenneRandom>(m_clock->tickCount());

    const ViewServices services{*m_clock,   *m_timer, *this,         *m_confirmation, *m_dialogs,
                                *m_manuals, *m_midi,  *m_recognizer, *m_random,       *this};
    m_engine = std::make_unique<CBrindelView>(services);
    // A recognised word is judged as soon as the user-interface thread is free, not at the
    // next tick.
    m_engine->setWordArrivalNotifier([this] {
        QMetaObject::invokeMethod(
            this, [this] { judgeWords(); }, Qt::QueuedConnection);
    });
    m_engine->loadUserFiles();
}

// The real recogniser on the default microphone, playing its words through the synthesiser's
// output stream. Without a microphone it stays deaf and says "No microphone" once.
void CBrindelViewWidget::createRecognizer() {
    m_capture = std::make_unique<PortAudioCapture>([this](const std::string& message) {
        QMetaObject::invokeMethod(
            this, [this, text = QString::fromStdString(message)] { emit statusMessage(text); },
            Qt::QueuedConnection);
    });
    m_capture->probe();
    if (auto* output = dynamic_cast<SoundOutput*>(m_midi.get())) {
        m_wordPoll = new QTimer(this);
        m_wordPoll->setInterval(500);
        connect(m_wordPoll, &QTimer::timeout, this, [this] { pollWordPlayback(); });
        m_wordOutput = std::make_unique<SoundWordOutput>(*output, [this] {
            if (!m_wordPoll->isActive()) {
                m_wordPoll->start();
            }
        });
    }
    m_recognizer = std::make_unique<CRecognizer>(m_capture.get(), m_wordOutput.get());
}

void CBrindelViewWidget::judgeWords() {
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    m_engine->judgeRecognizedWords();
    afterEngineEvent(mode, idle);
}

// Frees a word the output is done with; stops polling once nothing is held or playing.
void CBrindelViewWidget::pollWordPlayback() {
    auto* output = dynamic_cast<SoundOutput*>(m_midi.get());
    if (output == nullptr || (!output->reclaimWords() && !output->wordPlaying())) {
        m_wordPoll->stop();
    }
}

// The engine goes first: it may still stop the timer and the sound on its way out.
CBrindelViewWidget::~CBrindelViewWidget() {
    m_engine.reset();
}

void CBrindelViewWidget::reportSoundStatus() {
    auto* output = dynamic_cast<SoundOutput*>(m_midi.get());
    if (output != nullptr) {
        const std::string reason = output->silenceReason();
        if (!reason.empty()) {
            emit statusMessage(QString::fromStdString(reason));
        }
    }
}

bool CBrindelViewWidget::handlesCommand(int id) const {
    return id != IdExit && id != IdAbout;
}

bool CBrindelViewWidget::commandEnabled(int id) const {
    return m_engine->isCommandEnabled(id);
}

void CBrindelViewWidget::runCommand(int id) {
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    m_engine->onCommand(id);
    afterEngineEvent(mode, idle);
    // Profile and Configure may have changed the settings and recordings.
    emit commandStateChanged();
}

bool CBrindelViewWidget::isIdle() const {
    return m_engine->idle();
}

void CBrindelViewWidget::onTick(int timerNumber) {
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    m_engine->onTimer(timerNumber);
    afterEngineEvent(mode, idle);
}

void CBrindelViewWidget::afterEngineEvent(GameMode modeBefore, bool idleBefore) {
    if (m_engine->gameMode() != modeBefore || m_engine->idle() != idleBefore) {
        emit commandStateChanged();
    }
}

void CBrindelViewWidget::repaintAll() {
    update();
}

void CBrindelViewWidget::repaintRect(const DeviceRect& rect) {
    update(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)));
}

ClientSize CBrindelViewWidget::clientSize() const {
    return {width(), height()};
}

void CBrindelViewWidget::showMessage(const std::string& text) {
    emit statusMessage(QString::fromStdString(text));
}

void CBrindelViewWidget::paintEvent(QPaintEvent*) {
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    // Through the engine's beginPaint, the first paint prepares the exercise (entering Play
    // notes) and Listen notes starts the sound of the notes whose time has come.
    QPainter painter(this);
    m_painter.paint(painter, size(), *m_engine);
    ++m_framesPainted;
    emit framePainted();
    afterEngineEvent(mode, idle);
}

void CBrindelViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const GameMode mode = m_engine->gameMode();
        const bool idle = m_engine->idle();
        m_engine->onLButtonDown(devicePoint(event->position()));
        afterEngineEvent(mode, idle);
    }
    CommandView::mousePressEvent(event);
}

void CBrindelViewWidget::mouseMoveEvent(QMouseEvent* event) {
    m_engine->onMouseMove(devicePoint(event->position()), (event->buttons() & Qt::LeftButton) != 0);
    CommandView::mouseMoveEvent(event);
}

void CBrindelViewWidget::wheelEvent(QWheelEvent* event) {
    // One step per notch: touchpads send many small deltas, which add up to a notch of 120.
    m_wheelRemainder += event->angleDelta().y();
    while (m_wheelRemainder >= WheelNotch || m_wheelRemainder <= -WheelNotch) {
        const int step = m_wheelRemainder > 0 ? WheelNotch : -WheelNotch;
        m_wheelRemainder -= step;
        m_engine->onMouseWheel(step, devicePoint(event->position()));
    }
    event->accept();
}

} // namespace tessimo
