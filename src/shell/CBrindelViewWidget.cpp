#include "shell/CBrindelViewWidget.h"

#include "audio_devices/PortAudioCapture.h"
#include "audio_devices/SoundWordOutput.h"
#include "game/MersenneRandom.h"
#include "recognition/CRecognizer.h"
#include "shell/CommandTable.h"
#include "shell/DisabledReasons.h"
#include "shell/ExerciseDialogsAdapter.h"
#include "shell/QtClock.h"
#include "shell/QtConfirmationBox.h"
#include "shell/QtManualOpener.h"
#include "shell/QtWindowTimer.h"
#include "sound/SoundOutput.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

namespace tessimo {

namespace {

QString widgetText(const char* text) {
    return QCoreApplication::translate("tessimo::CBrindelViewWidget", text);
}

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
        // The synthesiser starts, and later loses and finds its device, on a thread of its
        // own; each change of its status is queued to this thread.
        auto onStarted = [this] {
            QMetaObject::invokeMethod(this, [this] { reportSoundStatus(); });
        };
        m_midi = devices.soundFontDirectory.empty()
                     ? createSoundOutput(onStarted)
                     : std::make_unique<SoundOutput>(onStarted, devices.soundFontDirectory);
        // A server that does not answer keeps start-up waiting: say so rather than nothing.
        QTimer::singleShot(SoundOutput::SlowStartup, this, [this] {
            const auto* output = dynamic_cast<const SoundOutput*>(m_midi.get());
            if (output != nullptr && !output->startupFinished()) {
                m_lastSoundMessage = QString(SoundOutput::StalledMessage);
                emit statusMessage(m_lastSoundMessage);
            }
        });
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
    // The frame connects to statusMessage only once the view exists: say it from the loop.
    const QString startMessage = QString::fromStdString(m_engine->startUp());
    if (!startMessage.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, startMessage] { emit statusMessage(startMessage); }, Qt::QueuedConnection);
    }
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
    if (output == nullptr) {
        return;
    }
    // Two changes in quick succession arrive as two reports of the same latest message.
    const QString message = QString::fromStdString(output->statusMessage());
    if (!message.isEmpty() && message != m_lastSoundMessage) {
        emit statusMessage(message);
    }
    m_lastSoundMessage = message;
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

int CBrindelViewWidget::runningCommand() const {
    switch (m_engine->gameMode()) {
    case GameMode::ListenNotes:
        return IdListenNotes;
    case GameMode::PlayNotes:
        return IdPlayNotes;
    case GameMode::NotesDictation:
        return IdNotesDictation;
    case GameMode::PlayIntervals:
        return IdPlayIntervals;
    case GameMode::IntervalDictation:
        return IdIntervalDictation;
    case GameMode::PlayChords:
        return IdPlayChords;
    case GameMode::ChordsDictation:
        return IdChordsDictation;
    case GameMode::Record:
    case GameMode::RecordReplay:
        return IdRecord;
    case GameMode::Recognize:
        return IdRecognize;
    case GameMode::Idle:
        break;
    }
    return 0;
}

QString CBrindelViewWidget::userName() const {
    return QString::fromStdString(m_engine->userName());
}

QString CBrindelViewWidget::disabledReason(int id) const {
    const std::string reason = tessimo::disabledReason(
        id, m_engine->settings(), m_engine->pitchTable(), m_engine->state().barLength);
    return reason.empty() ? QString()
                          : QCoreApplication::translate("tessimo::DisabledReasons", reason.c_str());
}

QString CBrindelViewWidget::standingStatus() const {
    const GameState& state = m_engine->state();
    if (!state.frozen) {
        return {};
    }
    const SettingsRecord& settings = m_engine->settings();
    const CommandInfo* command = findCommand(runningCommand());
    QString name = command != nullptr ? translatedCommandText(command->text) : QString();
    name.remove(QLatin1Char('&'));
    const QString limit =
        settings.errorLimitOn != 0 && state.errorCount >= settings.maxErrors
            ? widgetText(QT_TRANSLATE_NOOP("tessimo::CBrindelViewWidget", "%1 errors"))
                  .arg(state.errorCount)
            : widgetText(
                  QT_TRANSLATE_NOOP("tessimo::CBrindelViewWidget", "%1 notes left unanswered"))
                  .arg(state.unknownCount);
    return widgetText(QT_TRANSLATE_NOOP("tessimo::CBrindelViewWidget",
                                        "Game over: %1, the limit set in Game > Configure. To "
                                        "play again, choose %2 again."))
        .arg(limit, name);
}

void CBrindelViewWidget::stopExercise() {
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    m_engine->stopExercise();
    afterEngineEvent(mode, idle);
    emit commandStateChanged();
}

void CBrindelViewWidget::onTick(int timerNumber) {
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    m_engine->onTimer(timerNumber);
    afterEngineEvent(mode, idle);
}

void CBrindelViewWidget::afterEngineEvent(GameMode modeBefore, bool idleBefore) {
    const bool frozen = m_engine->state().frozen;
    const bool justEnded = frozen && !m_wasFrozen;
    const bool frozenChanged = frozen != m_wasFrozen;
    m_wasFrozen = frozen;
    if (m_engine->gameMode() != modeBefore || m_engine->idle() != idleBefore || frozenChanged) {
        emit commandStateChanged();
    }
    if (justEnded) {
        emit statusMessage(standingStatus());
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
    QPainter painter(this);
    m_painter.paint(painter, size(), *m_engine);
    ++m_framesPainted;
    emit framePainted();
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
