#include "shell/CBrindelViewWidget.h"

#include "audio_devices/PortAudioCapture.h"
#include "audio_devices/SoundWordOutput.h"
#include "game/MersenneRandom.h"
#include "history/AnswerOutcome.h"
#include "history/HistoryFileName.h"
#include "history/WeakSpotDraw.h"
#include "model/UserPreferences.h"
#include "recognition/CRecognizer.h"
#include "recognition/RecognitionPath.h"
#include "shell/CommandTable.h"
#include "shell/DisabledReasons.h"
#include "shell/ExerciseDialogsAdapter.h"
#include "shell/KeyboardStatusText.h"
#include "shell/MidiKeyboardAnswers.h"
#include "shell/QtClock.h"
#include "shell/QtConfirmationBox.h"
#include "shell/QtManualOpener.h"
#include "shell/QtWindowTimer.h"
#include "shell/SoundSetupDialog.h"
#include "shell/statistics/StatisticsWindow.h"
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
    // The program's own recogniser follows the user's choice of path and asks for words it
    // heard but did not judge.
    m_pathRecognizer = dynamic_cast<CRecognizer*>(m_recognizer.get());
    if (m_pathRecognizer != nullptr) {
        m_pathRecognizer->setSayAgainCallback(&CBrindelViewWidget::sayAgainHeard, this);
    }
    m_sayAgainTimer = new QTimer(this);
    m_sayAgainTimer->setSingleShot(true);
    m_sayAgainTimer->setInterval(SayAgainMilliseconds);
    connect(m_sayAgainTimer, &QTimer::timeout, this, [this] {
        m_painter.setSayAgain(false);
        update();
    });
    m_quietTimer = new QTimer(this);
    m_quietTimer->setSingleShot(true);
    m_quietTimer->setInterval(AdaptiveCalibrationMilliseconds);
    connect(m_quietTimer, &QTimer::timeout, this, [this] {
        m_painter.setQuietPlease(false);
        update();
        if (m_engine->gameMode() == GameMode::Recognize) {
            emit statusMessage(QString());
        }
    });
    m_random = std::make_unique<MersenneRandom>(m_clock->tickCount());

    const ViewServices services{*m_clock,   *m_timer, *this,         *m_confirmation, *m_dialogs,
                                *m_manuals, *m_midi,  *m_recognizer, *m_random,       *this};
    m_engine = std::make_unique<CBrindelView>(services);
    m_engine->setOutcomeSink(&m_history);
    m_engine->setPitchDraw([this](GameMode mode, std::span<const int> selection, std::uint32_t r) {
        return drawQuestionPitch(mode, selection, r);
    });
    // A recognised word is judged as soon as the user-interface thread is free, not at the
    // next tick.
    m_engine->setWordArrivalNotifier([this] {
        QMetaObject::invokeMethod(
            this, [this] { judgeWords(); }, Qt::QueuedConnection);
    });
    // The frame connects to statusMessage only once the view exists: say it from the loop.
    std::string loaded = m_engine->startUp();
    const std::string preferences = applyUserPreferences();
    if (!preferences.empty()) {
        loaded += (loaded.empty() ? "" : " ") + preferences;
    }
    const QString startMessage = QString::fromStdString(loaded);
    applySoundPreferences();
    if (devices.midiKeyboard) {
        // The input finds its MIDI system on a thread of its own; the first status follows
        // within one of its polls, and this thread looks at it quickly until then.
        m_keyAnswers = std::make_unique<MidiKeyboardAnswers>(*m_engine);
        m_midiInput = std::make_unique<MidiInput>(devices.midiInputOptions);
        m_midiPoll = new QTimer(this);
        m_midiPoll->setTimerType(Qt::PreciseTimer);
        connect(m_midiPoll, &QTimer::timeout, this, [this] { pollMidiKeyboard(); });
        m_midiPoll->start(MidiPollMilliseconds);
    }
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
            this,
            [this, text = QString::fromStdString(message)] {
                m_microphoneMissing = true; // every report is a microphone that does not work
                updateSoundOffer();
                emit statusMessage(text);
            },
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
    const int answered = m_engine->state().okCount + m_engine->state().errorCount;
    m_engine->judgeRecognizedWords();
    if (m_engine->state().okCount + m_engine->state().errorCount != answered) {
        // A word was judged after all: the question is no longer "say again".
        m_sayAgainTimer->stop();
        m_painter.setSayAgain(false);
        if (m_saidSayAgain) {
            m_saidSayAgain = false;
            emit statusMessage(QString());
        }
    }
    afterEngineEvent(mode, idle);
}

std::string CBrindelViewWidget::applyUserPreferences() {
    m_preferences = UserPreferences();
    const PreferencesLoad load = m_preferences.load(preferencesFileName(m_engine->userName()));
    m_engine->setRecognizeByKeyboard(m_preferences.values().recognizeInput ==
                                     RecognizeInput::MidiKeyboard);
    if (m_pathRecognizer != nullptr) {
        m_pathRecognizer->setRecognitionPath(m_preferences.values().recognition ==
                                                     RecognitionChoice::Documented
                                                 ? RecognitionPath::Documented
                                                 : RecognitionPath::Adaptive);
    }
    return load.message;
}

void CBrindelViewWidget::onRecognizeStarted() {
    clearRecognizeNotices();
    if (m_engine->recognizeByKeyboard() || m_pathRecognizer == nullptr ||
        m_pathRecognizer->recognitionPath() != RecognitionPath::Adaptive) {
        return; // the documented path hears words at once
    }
    m_painter.setQuietPlease(true);
    m_quietTimer->start();
    update();
    emit statusMessage(widgetText(
        QT_TRANSLATE_NOOP("tessimo::CBrindelViewWidget", "Quiet please: listening to the room")));
}

void CBrindelViewWidget::clearRecognizeNotices() {
    m_sayAgainTimer->stop();
    m_quietTimer->stop();
    if (m_painter.sayAgain() || m_painter.quietPlease()) {
        m_painter.setSayAgain(false);
        m_painter.setQuietPlease(false);
        update();
    }
    m_saidSayAgain = false;
}

void CBrindelViewWidget::showSayAgain() {
    if (m_engine->gameMode() != GameMode::Recognize || m_engine->state().frozen) {
        return; // the game the word was meant for has ended
    }
    m_painter.setSayAgain(true);
    m_sayAgainTimer->start();
    update();
    m_saidSayAgain = true;
    emit statusMessage(widgetText(QT_TRANSLATE_NOOP("tessimo::CBrindelViewWidget", "Say again")));
}

void CBrindelViewWidget::sayAgainHeard(void* widget) {
    auto* self = static_cast<CBrindelViewWidget*>(widget);
    QMetaObject::invokeMethod(
        self, [self] { self->showSayAgain(); }, Qt::QueuedConnection);
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
    if (m_midiPoll != nullptr) {
        m_midiPoll->stop();
    }
    m_keyAnswers.reset();
    m_midiInput.reset();
    m_engine->setOutcomeSink(nullptr);
    m_engine.reset();
}

void CBrindelViewWidget::reportSoundStatus() {
    auto* output = dynamic_cast<SoundOutput*>(m_midi.get());
    if (output == nullptr) {
        return;
    }
    // Two changes in quick succession arrive as two reports of the same latest message.
    QString message = QString::fromStdString(output->statusMessage());
    // This view's start-up timer and the output's own clock can disagree by a few
    // milliseconds: once the user has been told that the server does not answer, an output
    // that is ready says so, however quick its own start-up was.
    if (message.isEmpty() && output->isReady() &&
        m_lastSoundMessage == QString(SoundOutput::StalledMessage)) {
        message = QString(SoundOutput::LateReadyMessage);
    }
    if (!message.isEmpty() && message != m_lastSoundMessage) {
        emit statusMessage(message);
    }
    m_lastSoundMessage = message;
    updateSoundOffer();
}

void CBrindelViewWidget::updateSoundOffer() {
    const auto* output = dynamic_cast<const SoundOutput*>(m_midi.get());
    const bool outputMissing =
        output != nullptr && (output->status() == SoundOutput::Status::Silent ||
                              output->status() == SoundOutput::Status::Lost);
    emit soundSetupOffered(outputMissing || m_microphoneMissing);
}

void CBrindelViewWidget::applySoundPreferences() {
    m_soundUser = m_engine->userName();
    const PreferenceValues& values = m_preferences.values(); // read with the user's preferences
    if (auto* output = dynamic_cast<SoundOutput*>(m_midi.get())) {
        output->setVolumePercent(values.volumePercent);
        if (values.outputDevice != output->deviceName()) {
            output->chooseDevice(values.outputDevice, [this](bool switched,
                                                             const std::string& why) {
                if (!switched) {
                    QMetaObject::invokeMethod(
                        this,
                        [this, text = QString::fromStdString(why)] { emit statusMessage(text); },
                        Qt::QueuedConnection);
                }
            });
        }
    }
    if (m_capture != nullptr) {
        m_capture->setDeviceName(values.inputDevice);
    }
}

void CBrindelViewWidget::openSoundSetup() {
    stopExercise();
    PreferenceValues& values = m_preferences.values();
    auto* output = dynamic_cast<SoundOutput*>(m_midi.get());
    SoundChoices choices{values.outputDevice, values.inputDevice, values.volumePercent};
    if (output != nullptr) {
        choices.outputDevice =
            output->deviceName().empty() ? values.outputDevice : output->deviceName();
    }
    SoundSetupDialog dialog(output, *m_midi, m_capture.get(), choices, this);
    connect(&dialog, &SoundSetupDialog::statusMessage, this, &CommandView::statusMessage);
    m_soundSetup = &dialog;
    dialog.exec();
    m_soundSetup = nullptr;
    const SoundChoices chosen = dialog.choices();
    if (chosen == choices) {
        return;
    }
    // The dialog has already put the choices to work: they hold for this session even when
    // the file cannot take them (a file that could not be read is never overwritten).
    const auto choose = [&chosen](PreferenceValues& into) {
        into.outputDevice = chosen.outputDevice;
        into.inputDevice = chosen.inputDevice;
        into.volumePercent = chosen.volumePercent;
    };
    choose(values);
    if (const QString problem = changePreferences(choose); !problem.isEmpty()) {
        emit statusMessage(problem);
    }
    m_microphoneMissing = false; // the dialog showed the user where the microphone stands
    updateSoundOffer();
}

bool CBrindelViewWidget::handlesCommand(int id) const {
    return id != IdExit && id != IdAbout;
}

bool CBrindelViewWidget::commandEnabled(int id) const {
    return id == IdStatistics || id == IdSoundSetup || id == IdKeyboardAnswers ||
           m_engine->isCommandEnabled(id);
}

bool CBrindelViewWidget::commandChecked(int id) const {
    return id == IdKeyboardAnswers && m_engine->recognizeByKeyboard();
}

void CBrindelViewWidget::runCommand(int id) {
    if (id == IdStatistics) {
        openStatistics();
        return;
    }
    if (id == IdSoundSetup) {
        openSoundSetup();
        return;
    }
    if (id == IdKeyboardAnswers) {
        const QString problem = setRecognizeByKeyboard(!m_engine->recognizeByKeyboard());
        if (!problem.isEmpty()) {
            emit statusMessage(problem);
        }
        emit commandStateChanged(); // Recognize may be enabled now, or no longer
        return;
    }
    if ((id == IdNotesDictation || id == IdRecognize) && m_weakSpots) {
        m_weakSpots->reload(); // a new game starts from the history as it stands
    }
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    m_engine->onCommand(id);
    if (id == IdProfile) {
        // Another user may have been chosen: their preferences apply from now on.
        const std::string problem = applyUserPreferences();
        if (!problem.empty()) {
            emit statusMessage(QString::fromStdString(problem));
        }
    }
    afterEngineEvent(mode, idle);
    if (id == IdRecognize && m_engine->gameMode() == GameMode::Recognize) {
        onRecognizeStarted();
    }
    if (m_engine->userName() != m_soundUser) {
        applySoundPreferences(); // another user, other sound choices
    }
    // Profile and Configure may have changed the settings, recordings and preferences.
    emit commandStateChanged();
    if ((id == IdProfile || id == IdConfigure) && m_statistics) {
        m_statistics->setSource(statisticsSource()); // another user, or another naming
    }
}

StatisticsSource CBrindelViewWidget::statisticsSource() {
    StatisticsSource source;
    source.userName = userName();
    source.historyPath = historyFilePath(m_engine->userName()).value_or(std::string());
    source.convention = m_engine->settings().namingConvention;
    source.weakSpotPractice = [this] { return weakSpotPractice(); };
    source.setWeakSpotPractice = [this](bool on) { return setWeakSpotPractice(on); };
    return source;
}

void CBrindelViewWidget::openStatistics() {
    // The window reads the file: the answers of the game just played belong in it. The wait is
    // short, since the writer commits every few milliseconds.
    m_history.flush(std::chrono::milliseconds(300));
    if (m_statistics) {
        m_statistics->setSource(statisticsSource());
    } else {
        m_statistics = new StatisticsWindow(statisticsSource(), this);
    }
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
}

bool CBrindelViewWidget::weakSpotPractice() const {
    return m_preferences.values().weakSpotPractice;
}

QString
CBrindelViewWidget::changePreferences(const std::function<void(PreferenceValues&)>& change) {
    const std::string path = preferencesFileName(m_engine->userName());
    // Read afresh, so that the other preferences in the file are written back as they are.
    UserPreferences preferences;
    const PreferencesLoad load = preferences.load(path);
    if (load.outcome == PreferencesLoad::Outcome::Refused ||
        load.outcome == PreferencesLoad::Outcome::Unreadable) {
        return QString::fromStdString(load.message); // such a file is never overwritten
    }
    change(preferences.values());
    const FileWriteResult written = preferences.save(path);
    if (!written) {
        return widgetText(QT_TRANSLATE_NOOP("tessimo::CBrindelViewWidget",
                                            "The preferences file %1 could not be written: %2."))
            .arg(QString::fromStdString(path),
                 QString::fromStdString(describeWriteFailure(written)));
    }
    change(m_preferences.values()); // what the file now says holds for this session
    return {};
}

QString CBrindelViewWidget::setWeakSpotPractice(bool on) {
    // Unsaved, the option stays as it was, as the Statistics window's box shows.
    return changePreferences([on](PreferenceValues& values) { values.weakSpotPractice = on; });
}

QString CBrindelViewWidget::setRecognizeByKeyboard(bool on) {
    m_engine->setRecognizeByKeyboard(on); // for this session even when it cannot be saved
    return changePreferences([on](PreferenceValues& values) {
        values.recognizeInput = on ? RecognizeInput::MidiKeyboard : RecognizeInput::Microphone;
    });
}

void CBrindelViewWidget::pollMidiKeyboard() {
    if (auto status = m_midiInput->takeStatusChange()) {
        if (status->devices.size() < m_keyboardCount) {
            m_keyAnswers->forgetHeldKeys(); // a keyboard went with its keys down
        }
        m_keyboardCount = status->devices.size();
        m_keyboardStatus = keyboardStatusText(*status);
        const QString details = keyboardStatusDetails(*status);
        const bool present =
            status->state == MidiInputState::NoDevice || status->state == MidiInputState::Connected;
        // Without a MIDI system there are no keys to wait for, only its arrival.
        m_midiPoll->setInterval(present ? MidiPollMilliseconds : MidiIdlePollMilliseconds);
        emit keyboardStatusChanged(m_keyboardStatus, details);
    }
    const std::span<const MidiKeyEvent> events = m_midiInput->drain();
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    const int answers = m_keyAnswers->deliver(events, MidiInput::nowNs() / 1'000'000);
    if (answers > 0) {
        m_keyboardAnswerCount += answers;
        afterEngineEvent(mode, idle);
    }
}

int CBrindelViewWidget::drawQuestionPitch(GameMode mode, std::span<const int> selection,
                                          std::uint32_t r) {
    const auto plain = [&] { return static_cast<int>(r % selection.size()); };
    if (selection.empty()) {
        return -1;
    }
    if (!weakSpotPractice()) {
        return plain();
    }
    const std::optional<std::string> path = historyFilePath(m_engine->userName());
    if (!path) {
        return plain();
    }
    if (!m_weakSpots || m_weakSpots->path() != *path) {
        m_weakSpots = std::make_unique<WeakSpotDraw>(*path);
    }
    return m_weakSpots->draw(
        mode == GameMode::Recognize ? Exercise::Recognize : Exercise::NotesDictation, selection, r);
}

void CBrindelViewWidget::answerJudged(const AnswerOutcome& answer) {
    if (m_weakSpots) {
        m_weakSpots->noteOutcome(answer);
    }
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
        id, m_engine->settings(), m_engine->pitchTable(), m_engine->unitClock().barLength);
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

void CBrindelViewWidget::recordWordAgain(int word) {
    const GameMode mode = m_engine->gameMode();
    const bool idle = m_engine->idle();
    if (m_engine->recordWordAgain(word)) {
        afterEngineEvent(mode, idle);
        emit commandStateChanged();
    }
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
    if (m_engine->gameMode() != GameMode::Recognize || frozen) {
        clearRecognizeNotices();
    }
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

void CBrindelViewWidget::offerRecordAgain(const std::vector<WordToRecordAgain>& words) {
    QStringList names;
    QList<int> wordList;
    for (const WordToRecordAgain& word : words) {
        names.append(QString::fromStdString(word.name));
        wordList.append(word.word);
    }
    emit recordAgainOffered(names, wordList);
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
