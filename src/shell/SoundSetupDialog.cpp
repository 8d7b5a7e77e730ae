#include "shell/SoundSetupDialog.h"

#include "audio_devices/CaptureRebuffer.h"
#include "audio_devices/InputLevelMeter.h"
#include "audio_devices/PortAudioCapture.h"
#include "sound/MasterVolume.h"
#include "sound/MidiOutput.h"
#include "sound/SoundOutput.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tessimo {

namespace {

// The meter's scale, in dBFS.
constexpr int MeterFloorDb = -60;
// The clipping warning stays this many meter readings after the last clipped buffer.
constexpr int ClipHoldReadings = 30;

QString dbText(double db) {
    return db <= SilenceDb ? QStringLiteral("-\u221e dB")
                           : QStringLiteral("%1 dB").arg(db, 0, 'f', 1).replace('-', u'\u2212');
}

QString deviceLabel(const std::string& name) {
    return QString::fromStdString(name);
}

} // namespace

SoundSetupDialog::SoundSetupDialog(SoundOutput* output, MidiOutput& midi,
                                   PortAudioCapture* recognizerCapture, SoundChoices choices,
                                   QWidget* parent)
    : QDialog(parent), m_output(output), m_midi(midi), m_recognizerCapture(recognizerCapture),
      m_choices(std::move(choices)), m_meter(std::make_unique<InputLevelMeter>()) {
    setWindowTitle(tr("Sound set-up"));
    setObjectName(QStringLiteral("soundSetupDialog"));
    buildLayout();

    // The capture thread's reports come back through the event loop; a dialog that has gone
    // meanwhile drops them.
    QPointer<SoundSetupDialog> self(this);
    m_meterCapture = std::make_unique<PortAudioCapture>([self](const std::string& message) {
        QMetaObject::invokeMethod(
            qApp,
            [self, text = QString::fromStdString(message)] {
                if (self)
                    self->onInputReport(text);
            },
            Qt::QueuedConnection);
    });
    m_previousInput = m_choices.inputDevice;
    startMeter();

    m_meterTimer = new QTimer(this);
    m_meterTimer->setInterval(MeterPeriodMs);
    connect(m_meterTimer, &QTimer::timeout, this, &SoundSetupDialog::readMeter);
    m_meterTimer->start();
    m_listTimer = new QTimer(this);
    m_listTimer->setInterval(ListPeriodMs);
    connect(m_listTimer, &QTimer::timeout, this, &SoundSetupDialog::requestDeviceList);
    m_listTimer->start();
    requestDeviceList();
}

// Stopping the meter waits at most PortAudioCapture::StopWait.
SoundSetupDialog::~SoundSetupDialog() {
    m_meterCapture->stop();
}

void SoundSetupDialog::buildLayout() {
    auto* outputBox = new QGroupBox(tr("Sound output"), this);
    auto* outputForm = new QFormLayout(outputBox);
    m_outputCombo = new QComboBox(outputBox);
    m_outputCombo->setObjectName(QStringLiteral("outputDevice"));
    outputForm->addRow(tr("&Device:"), m_outputCombo);
    m_volume = new QSlider(Qt::Horizontal, outputBox);
    m_volume->setObjectName(QStringLiteral("volume"));
    m_volume->setRange(0, MaxVolumePercent);
    m_volume->setValue(m_choices.volumePercent);
    m_volumeLabel = new QLabel(outputBox);
    m_volumeLabel->setMinimumWidth(m_volumeLabel->fontMetrics().horizontalAdvance("100 %") + 6);
    auto* volumeRow = new QHBoxLayout;
    volumeRow->addWidget(m_volume, 1);
    volumeRow->addWidget(m_volumeLabel);
    auto* volumeName = new QLabel(tr("&Volume:"), outputBox);
    volumeName->setBuddy(m_volume); // a row of a layout gets no buddy of its own
    outputForm->addRow(volumeName, volumeRow);
    m_testButton = new QPushButton(tr("Play a &test sound"), outputBox);
    m_testButton->setObjectName(QStringLiteral("testSound"));
    m_latencyLabel = new QLabel(outputBox);
    m_latencyLabel->setObjectName(QStringLiteral("latency"));
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(m_testButton);
    testRow->addWidget(m_latencyLabel, 1);
    outputForm->addRow(QString(), testRow);

    auto* inputBox = new QGroupBox(tr("Microphone"), this);
    auto* inputForm = new QFormLayout(inputBox);
    m_inputCombo = new QComboBox(inputBox);
    m_inputCombo->setObjectName(QStringLiteral("inputDevice"));
    inputForm->addRow(tr("D&evice:"), m_inputCombo);
    m_meterBar = new QProgressBar(inputBox);
    m_meterBar->setObjectName(QStringLiteral("meter"));
    m_meterBar->setRange(MeterFloorDb, 0);
    m_meterBar->setValue(MeterFloorDb);
    m_meterBar->setTextVisible(false);
    m_levelLabel = new QLabel(inputBox);
    m_levelLabel->setObjectName(QStringLiteral("level"));
    m_levelLabel->setMinimumWidth(m_levelLabel->fontMetrics().horizontalAdvance("\u221260.0 dB") +
                                  6);
    auto* meterRow = new QHBoxLayout;
    meterRow->addWidget(m_meterBar, 1);
    meterRow->addWidget(m_levelLabel);
    inputForm->addRow(tr("Level:"), meterRow);
    m_clipLabel =
        new QLabel(tr("Too loud: the input clips. Lower the microphone's gain."), inputBox);
    m_clipLabel->setObjectName(QStringLiteral("clipping"));
    m_clipLabel->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    m_clipLabel->setVisible(false);
    inputForm->addRow(QString(), m_clipLabel);
    m_takeButton = new QPushButton(tr("Test my &voice"), inputBox);
    m_takeButton->setObjectName(QStringLiteral("testVoice"));
    m_takeLabel = new QLabel(tr("Press the button, then say one note name."), inputBox);
    m_takeLabel->setObjectName(QStringLiteral("takeResult"));
    m_takeLabel->setWordWrap(true);
    inputForm->addRow(m_takeButton, m_takeLabel);

    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("status"));
    m_statusLabel->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outputBox);
    layout->addWidget(inputBox);
    layout->addWidget(m_statusLabel);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(m_outputCombo, &QComboBox::activated, this, &SoundSetupDialog::onOutputChosen);
    connect(m_inputCombo, &QComboBox::activated, this, &SoundSetupDialog::onInputChosen);
    connect(m_testButton, &QPushButton::clicked, this, &SoundSetupDialog::playTestSound);
    connect(m_takeButton, &QPushButton::clicked, this, &SoundSetupDialog::startTake);
    connect(m_volume, &QSlider::valueChanged, this, [this](int percent) {
        m_choices.volumePercent = percent;
        m_volumeLabel->setText(QStringLiteral("%1 %").arg(percent));
        if (m_output != nullptr)
            m_output->setVolumePercent(percent);
    });
    m_volumeLabel->setText(QStringLiteral("%1 %").arg(m_choices.volumePercent));
    // Until the first list arrives, the combos show the choices alone.
    fillCombo(m_outputCombo, {}, true, m_choices.outputDevice);
    fillCombo(m_inputCombo, {}, false, m_choices.inputDevice);
    showLatency();
}

void SoundSetupDialog::requestDeviceList() {
    if (m_output == nullptr)
        return;
    QPointer<SoundSetupDialog> self(this);
    m_output->listDevices([self](std::vector<SoundDeviceInfo> devices) {
        QMetaObject::invokeMethod(
            qApp,
            [self, devices = std::move(devices)] {
                if (self)
                    self->showDevices(devices);
            },
            Qt::QueuedConnection);
    });
}

void SoundSetupDialog::showDevices(const std::vector<SoundDeviceInfo>& devices) {
    if (devices == m_devices)
        return;
    m_devices = devices;
    fillCombo(m_outputCombo, devices, true, m_choices.outputDevice);
    fillCombo(m_inputCombo, devices, false, m_choices.inputDevice);
}

// The system's default first, then every device that can play (or record), each named as the
// library names it; a chosen device that is not connected stays in the list, marked so.
void SoundSetupDialog::fillCombo(QComboBox* combo, const std::vector<SoundDeviceInfo>& devices,
                                 bool output, const std::string& chosen) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItem(tr("System default"), QString());
    bool found = chosen.empty();
    for (const SoundDeviceInfo& device : devices) {
        if ((output ? device.outputChannels : device.inputChannels) <= 0)
            continue;
        const QString name = deviceLabel(device.name);
        combo->addItem(name, name);
        found = found || device.name == chosen;
    }
    if (!found)
        combo->addItem(tr("%1 (not connected)").arg(deviceLabel(chosen)), deviceLabel(chosen));
    combo->setCurrentIndex(std::max(0, combo->findData(deviceLabel(chosen))));
}

void SoundSetupDialog::onOutputChosen(int index) {
    const std::string name = m_outputCombo->itemData(index).toString().toStdString();
    if (m_output == nullptr || name == m_choices.outputDevice)
        return;
    m_outputCombo->setEnabled(false); // until the output has answered
    say(tr("Switching the sound output \u2026"));
    QPointer<SoundSetupDialog> self(this);
    m_output->chooseDevice(name, [self, name](bool switched, const std::string& message) {
        QMetaObject::invokeMethod(
            qApp,
            [self, name, switched, text = QString::fromStdString(message)] {
                if (self)
                    self->onOutputAnswer(name, switched, text);
            },
            Qt::QueuedConnection);
    });
}

void SoundSetupDialog::onOutputAnswer(const std::string& name, bool switched,
                                      const QString& message) {
    m_outputCombo->setEnabled(true);
    if (switched) {
        m_choices.outputDevice = name;
        say(name.empty() ? tr("The sound plays on the system's default device.")
                         : tr("The sound plays on %1.").arg(deviceLabel(name)));
    } else {
        say(message);
        emit statusMessage(message);
    }
    fillCombo(m_outputCombo, m_devices, true, m_choices.outputDevice);
    showLatency();
}

void SoundSetupDialog::onInputChosen(int index) {
    const std::string name = m_inputCombo->itemData(index).toString().toStdString();
    if (name == m_choices.inputDevice)
        return;
    m_previousInput = m_choices.inputDevice;
    m_choices.inputDevice = name;
    m_inputPending = true;
    startMeter();
}

// A problem of the meter's capture. Right after a new input was chosen it means that input
// failed: the previous one comes back, and the user is told why.
void SoundSetupDialog::onInputReport(const QString& message) {
    if (m_inputPending && m_meter->buffersMeasured() == m_buffersAtChoice) {
        const QString failed = deviceLabel(m_choices.inputDevice);
        m_choices.inputDevice = m_previousInput;
        m_inputPending = false;
        const QString text = tr("%1: %2; the microphone stays on %3.")
                                 .arg(failed, message,
                                      m_previousInput.empty() ? tr("the system's default")
                                                              : deviceLabel(m_previousInput));
        fillCombo(m_inputCombo, m_devices, false, m_choices.inputDevice);
        startMeter();
        say(text);
        emit statusMessage(text);
        return;
    }
    say(message);
}

void SoundSetupDialog::startMeter() {
    m_meterCapture->stop();
    m_meterCapture->setDeviceName(m_choices.inputDevice);
    m_buffersAtChoice = m_meter->buffersMeasured();
    m_meterCapture->start(*m_meter);
}

void SoundSetupDialog::readMeter() {
    const std::uint64_t buffers = m_meter->buffersMeasured();
    if (m_inputPending && buffers != m_buffersAtChoice) {
        // The new input delivers: it is the one the recogniser listens to from now on.
        m_inputPending = false;
        if (m_recognizerCapture != nullptr)
            m_recognizerCapture->setDeviceName(m_choices.inputDevice);
        say(m_choices.inputDevice.empty()
                ? tr("The microphone is the system's default input.")
                : tr("The microphone is %1.").arg(deviceLabel(m_choices.inputDevice)));
    }
    const BlockLevel level = m_meter->latest();
    m_shownLevelDb = buffers == 0 ? SilenceDb : level.rmsDb;
    m_meterBar->setValue(std::clamp(static_cast<int>(std::lround(level.peakDb)), MeterFloorDb, 0));
    m_levelLabel->setText(dbText(m_shownLevelDb));
    if (level.clipped && buffers != m_buffersAtLastReading)
        m_clipHold = ClipHoldReadings;
    else if (m_clipHold > 0)
        --m_clipHold;
    m_clipLabel->setVisible(m_clipHold > 0);
    m_buffersAtLastReading = buffers;

    const std::uint64_t takes = m_meter->takesFinished();
    if (takes != m_takesShown) {
        m_takesShown = takes;
        const TakeLevels result = m_meter->lastTake();
        m_takeButton->setEnabled(true);
        QString text = tr("Noise floor %1, voice %2, margin %3: %4.")
                           .arg(dbText(result.noiseFloorDb), dbText(result.speechDb),
                                QStringLiteral("%1 dB").arg(result.marginDb, 0, 'f', 1),
                                tr(verdictText(result.verdict)));
        if (result.clipped)
            text += QLatin1Char(' ') + tr("The voice clipped: speak further from the microphone.");
        m_takeLabel->setText(text);
    }
    showLatency();
}

void SoundSetupDialog::startTake() {
    m_meter->startTake(static_cast<std::size_t>(CaptureRebuffer::Rate) * TakeMilliseconds / 1000);
    m_takeButton->setEnabled(false);
    m_takeLabel->setText(tr("Listening: say one note name now \u2026"));
}

void SoundSetupDialog::playTestSound() {
    // A C major chord on the piano, as an exercise plays it.
    const std::uint8_t keys[] = {60, 64, 67};
    const std::uint8_t lengths[] = {16, 16, 16};
    if (m_midi.MidiPlay(0, keys, lengths, 3, ExerciseVelocity, false) != 0)
        say(tr("The test sound could not be played: the sound output is not ready."));
}

void SoundSetupDialog::showLatency() {
    if (m_output == nullptr || m_output->sampleRate() <= 0) {
        m_latencyLabel->setText(tr("Output latency: unknown"));
        return;
    }
    const double ms =
        1000.0 * static_cast<double>(m_output->outputLatencyFrames()) / m_output->sampleRate();
    m_latencyLabel->setText(tr("Output latency: %1 ms (as the device reports it)")
                                .arg(static_cast<int>(std::lround(ms))));
}

void SoundSetupDialog::say(const QString& text) {
    m_statusLabel->setText(text);
}

} // namespace tessimo
