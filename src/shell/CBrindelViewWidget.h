// The widget in which the exercises run: the Qt side of the exercise engine's view. It gives
// the engine its platform services (clock, timer 1, repaint, client size, confirmation,
// dialogs, manuals, sound output, sound input), passes it the mouse and the commands, and
// paints its frames. User-interface thread only.
#pragma once

#include "display/ViewPainter.h"
#include "game/CBrindelView.h"
#include "midi/MidiInput.h"
#include "model/UserPreferences.h"
#include "recognition/RecognizerEntryPoints.h"
#include "shell/CommandView.h"
#include "shell/PracticeHistoryRecorder.h"
#include "shell/statistics/StatisticsWindow.h"
#include "sound/MidiOutput.h"

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

namespace tessimo {

class CRecognizer;
class MersenneRandom;
class PortAudioCapture;
class SoundWordOutput;
class QtClock;
class QtConfirmationBox;
class QtManualOpener;
class QtWindowTimer;
class WeakSpotDraw;
struct AnswerOutcome;

// Replacements for the devices the view would otherwise open itself; null members are opened
// as usual (the synthesiser, the recogniser on the default microphone, the real dialogs).
struct ViewDevices {
    std::unique_ptr<MidiOutput> midi;
    // Where the synthesiser looks for its SoundFont when midi is null; empty: the system's.
    std::filesystem::path soundFontDirectory;
    std::unique_ptr<RecognizerEntryPoints> recognizer;
    std::unique_ptr<ExerciseDialogs> dialogs;
    // The MIDI keyboard input and how it finds its MIDI system; off: no keyboard at all.
    bool midiKeyboard = true;
    MidiInputOptions midiInputOptions;
};

class CBrindelViewWidget : public CommandView, private ViewWindow, private StatusLine {
    Q_OBJECT
public:
    // Builds the engine's view and loads the default user's files.
    explicit CBrindelViewWidget(ViewDevices devices = {}, QWidget* parent = nullptr);
    ~CBrindelViewWidget() override;

    bool handlesCommand(int id) const override;
    bool commandEnabled(int id) const override;
    void runCommand(int id) override;
    bool isIdle() const override;
    int runningCommand() const override;
    QString userName() const override;
    QString disabledReason(int id) const override;
    QString standingStatus() const override;
    bool commandChecked(int id) const override;
    void stopExercise() override;
    void recordWordAgain(int word) override;

    // Opens the sound set-up dialog (stopping any exercise first) and keeps what the user
    // chose in the user's preferences file.
    void openSoundSetup();
    // The sound set-up dialog while it is open, else null; for tests.
    class SoundSetupDialog* soundSetupDialog() const {
        return m_soundSetup;
    }

    // The engine and the sound output, for tests.
    CBrindelView& engine() { return *m_engine; }
    const MidiOutput& midi() const { return *m_midi; }
    const QtWindowTimer& timer() const { return *m_timer; }

    // Frames painted since the view was built.
    int framesPainted() const { return m_framesPainted; }

    // The statistics window once the Statistics command has opened it, else null.
    StatisticsWindow* statisticsWindow() const { return m_statistics; }

    // The current user's weak-spot practice preference (prefs<name>.ini), and its change;
    // the change returns "" or, in words for the user, why it was not saved.
    bool weakSpotPractice() const;
    QString setWeakSpotPractice(bool on);

    // Waits at most limit until the answers of the games so far are in the practice history;
    // true when nothing is left queued. User-interface thread.
    bool flushPracticeHistory(std::chrono::milliseconds limit) { return m_history.flush(limit); }

    // The current user's choice of the MIDI keyboard for Recognize (prefs<name>.ini), and its
    // change; the change returns "" or, in words for the user, why it was not saved (it then
    // lasts this session).
    bool recognizeByKeyboard() const { return m_engine->recognizeByKeyboard(); }
    QString setRecognizeByKeyboard(bool on);

    // What the MIDI keyboard input offers, as the status bar's keyboard pane says it.
    const QString& keyboardStatus() const { return m_keyboardStatus; }
    // Answers given on the MIDI keyboard since the view was built.
    int keyboardAnswers() const { return m_keyboardAnswerCount; }
    // How often the MIDI input is looked at while a MIDI system is there, and while none is.
    static constexpr int MidiPollMilliseconds = 5;
    static constexpr int MidiIdlePollMilliseconds = 500;

    // An answer just judged, so that weak-spot practice follows it within the game.
    void answerJudged(const AnswerOutcome& answer);

    // What the window shows over a Recognize game ("?", "Quiet please"), for tests.
    const ViewPainter& painter() const { return m_painter; }
    // How long "?" stays over the question note after a word that was not judged.
    static constexpr int SayAgainMilliseconds = 1500;

signals:
    // A frame has been painted.
    void framePainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // ViewWindow.
    void repaintAll() override;
    void repaintRect(const DeviceRect& rect) override;
    ClientSize clientSize() const override;
    void showMessage(const std::string& text) override;
    void offerRecordAgain(const std::vector<WordToRecordAgain>& words) override;

    void onTick(int timerNumber);
    // Tells the frame to re-read the enabling rules when the mode or idle flag changed.
    void afterEngineEvent(GameMode modeBefore, bool idleBefore);
    // Says a change of the sound output's status in the status bar, once.
    void reportSoundStatus();
    void createRecognizer();
    // Reads the current user's preferences and sets the recogniser's path from them; at
    // start-up and after every Profile command.
    // Returns "" or a sentence for the status bar about a preferences file that was not read.
    std::string applyUserPreferences();
    // Recognize has started: "Quiet please" while the adaptive path measures the room.
    void onRecognizeStarted();
    // Ends the notices of a Recognize game that is no longer running.
    void clearRecognizeNotices();
    // A word was heard but not judged: "?" on the display, "Say again" in the status bar.
    void showSayAgain();
    // The recogniser's say-again callback (capture thread): queues showSayAgain.
    static void sayAgainHeard(void* widget);
    // Gives the sound output and the microphone the current user's choices.
    void applySoundPreferences();
    // The status bar offers the sound set-up while the output or the microphone is missing.
    void updateSoundOffer();
    void judgeWords();
    void pollWordPlayback();
    void openStatistics();
    void pollMidiKeyboard();
    // Changes the user's preferences file with change, keeping what else it holds; returns
    // "" or why it was not written.
    QString changePreferences(const std::function<void(PreferenceValues&)>& change);
    StatisticsSource statisticsSource();
    // The index of the next question's pitch in the selection: weighted by the history when
    // the user practises weak spots, else random mod count as always.
    int drawQuestionPitch(GameMode mode, std::span<const int> selection, std::uint32_t r);

    std::unique_ptr<QtClock> m_clock;
    std::unique_ptr<QtWindowTimer> m_timer;
    std::unique_ptr<QtConfirmationBox> m_confirmation;
    std::unique_ptr<ExerciseDialogs> m_dialogs;
    std::unique_ptr<QtManualOpener> m_manuals;
    std::unique_ptr<MidiOutput> m_midi;
    // The recogniser's devices, when the view made its own recogniser; they outlive it.
    std::unique_ptr<PortAudioCapture> m_capture;
    std::unique_ptr<SoundWordOutput> m_wordOutput;
    QTimer* m_wordPoll = nullptr; // 500 ms while a recorded word plays
    std::unique_ptr<RecognizerEntryPoints> m_recognizer;
    // The recogniser when it is the program's own, whose path follows the preferences.
    CRecognizer* m_pathRecognizer = nullptr;
    UserPreferences m_preferences;
    QTimer* m_sayAgainTimer = nullptr; // ends the "?"
    QTimer* m_quietTimer = nullptr;    // ends "Quiet please"
    bool m_saidSayAgain = false;       // the status bar says "Say again"
    std::unique_ptr<MersenneRandom> m_random;
    std::unique_ptr<CBrindelView> m_engine;
    // The MIDI keyboard, polled on this thread; its events go to the engine through
    // m_keyAnswers. Null when the view was built without one.
    std::unique_ptr<MidiInput> m_midiInput;
    std::unique_ptr<class MidiKeyboardAnswers> m_keyAnswers;
    QTimer* m_midiPoll = nullptr;
    QString m_keyboardStatus;
    std::size_t m_keyboardCount = 0; // keyboards connected at the last status
    int m_keyboardAnswerCount = 0;
    ViewPainter m_painter;
    int m_framesPainted = 0;
    bool m_wasFrozen = false;   // a game limit had ended the game at the last engine event
    QString m_lastSoundMessage; // what the status bar last said about the sound output
    class SoundSetupDialog* m_soundSetup = nullptr;
    std::string m_soundUser;          // whose sound choices are applied
    bool m_microphoneMissing = false; // the capture said it has no working microphone
    static constexpr int WheelNotch = 120;
    int m_wheelRemainder = 0; // wheel turns not yet a whole notch
    QPointer<StatisticsWindow> m_statistics;
    // Every judged or missed question goes to the user's practice history; the destructor
    // detaches it from the engine before either goes.
    PracticeHistoryRecorder m_history{
        "", [this](const std::string& text) { emit statusMessage(QString::fromStdString(text)); },
        [this](const AnswerOutcome& outcome) { answerJudged(outcome); }};
    std::unique_ptr<WeakSpotDraw> m_weakSpots; // for the current user, made on first need
};

} // namespace tessimo
