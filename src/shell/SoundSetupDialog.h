// The sound set-up: the output and input devices by name, a test sound, the master volume,
// the latency the output stream reports, a live input level meter with a clipping warning,
// and the judgement of a spoken take (noise floor, speech-to-noise margin, verdict).
//
// The dialog only shows and forwards. The devices are listed and switched on the sound
// output's device thread (SoundOutput::listDevices, chooseDevice) and their answers queued
// back here; the meter's capture and its measurements run on a capture thread of its own
// (PortAudioCapture into an InputLevelMeter), which a 50 ms timer reads. User-interface thread
// only.
#pragma once

#include "sound/SoundDevices.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QTimer;

namespace tessimo {

class InputLevelMeter;
class MidiOutput;
class PortAudioCapture;
class SoundOutput;

// What the user chose; kept per user in the preferences file.
struct SoundChoices {
    std::string outputDevice; // empty: the system's default
    std::string inputDevice;  // empty: the system's default
    int volumePercent = 70;

    bool operator==(const SoundChoices&) const = default;
};

class SoundSetupDialog : public QDialog {
    Q_OBJECT
public:
    // How long a take lasts: the user says one word in it.
    static constexpr int TakeMilliseconds = 3000;
    // How often the meter, the latency and the take are read; how often the devices are listed.
    static constexpr int MeterPeriodMs = 50;
    static constexpr int ListPeriodMs = 3000;

    // output: the program's sound output, or null when there is none (a fake in tests): the
    // output half then lists nothing. midi plays the test sound. recognizerCapture, when
    // given, follows the chosen input device. Opens the meter on the chosen input at once.
    SoundSetupDialog(SoundOutput* output, MidiOutput& midi, PortAudioCapture* recognizerCapture,
                     SoundChoices choices, QWidget* parent = nullptr);
    ~SoundSetupDialog() override;

    const SoundChoices& choices() const { return m_choices; }

    // The level the meter shows, in dBFS; for tests and the status line.
    double meterLevelDb() const { return m_shownLevelDb; }

signals:
    // A message for the status bar (a device that failed, and where the sound stays).
    void statusMessage(const QString& text);

private:
    void buildLayout();
    void requestDeviceList();
    void showDevices(const std::vector<SoundDeviceInfo>& devices);
    void fillCombo(QComboBox* combo, const std::vector<SoundDeviceInfo>& devices, bool output,
                   const std::string& chosen);
    void onOutputChosen(int index);
    void onOutputAnswer(const std::string& name, bool switched, const QString& message);
    void onInputChosen(int index);
    void onInputReport(const QString& message);
    void startMeter();
    void readMeter();
    void startTake();
    void playTestSound();
    void showLatency();
    void say(const QString& text);

    SoundOutput* m_output;
    MidiOutput& m_midi;
    PortAudioCapture* m_recognizerCapture;
    SoundChoices m_choices;
    std::string m_previousInput; // the input to go back to when a new one fails
    bool m_inputPending = false; // a new input was chosen and has not delivered yet
    std::uint64_t m_buffersAtChoice = 0;
    std::vector<SoundDeviceInfo> m_devices;
    std::unique_ptr<InputLevelMeter> m_meter;
    std::unique_ptr<PortAudioCapture> m_meterCapture;
    std::uint64_t m_takesShown = 0;
    std::uint64_t m_buffersAtLastReading = 0;
    int m_clipHold = 0; // readings the clipping warning stays up
    double m_shownLevelDb = -120.0;

    QComboBox* m_outputCombo = nullptr;
    QComboBox* m_inputCombo = nullptr;
    QPushButton* m_testButton = nullptr;
    QSlider* m_volume = nullptr;
    QLabel* m_volumeLabel = nullptr;
    QLabel* m_latencyLabel = nullptr;
    QProgressBar* m_meterBar = nullptr;
    QLabel* m_levelLabel = nullptr;
    QLabel* m_clipLabel = nullptr;
    QPushButton* m_takeButton = nullptr;
    QLabel* m_takeLabel = nullptr;
    QLabel* m_statusLabel = nullptr;
    QTimer* m_meterTimer = nullptr;
    QTimer* m_listTimer = nullptr;
};

} // namespace tessimo
