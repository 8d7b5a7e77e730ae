// The window with a MIDI keyboard, through a private JACK server (with_jack_server.sh) and this
// test's own RtMidi port playing the keyboard: the status bar follows the keyboard as it is
// plugged in and out, keys sound in Play notes, and Notes and Chords Dictation are answered on
// the keys. Prints the delays it measured.
#include "RecordingMidi.h"
#include "recognition/CRecognizer.h"
#include "shell/CBrindelApp.h"
#include "shell/CBrindelViewWidget.h"
#include "shell/CMainFrame.h"
#include "shell/CommandTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace tessimo;

namespace {

std::string unique(const std::string& stem) {
    return stem + "-" + std::to_string(::getpid());
}

void send(RtMidiOut& out, std::uint8_t status, std::uint8_t key, std::uint8_t velocity) {
    std::vector<unsigned char> message{status, key, velocity};
    out.sendMessage(&message);
}

// Runs the event loop until done() or the limit; returns the milliseconds it took, or -1.
double waitMs(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return -1;
        }
        QTest::qWait(1);
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

SettingsRecord& selectOnly(SettingsRecord& s, std::initializer_list<int> pitches) {
    s.notes.fill(0);
    for (int p : pitches) {
        s.notes[static_cast<std::size_t>(p - 36)] = 1;
    }
    return s;
}

} // namespace

class MidiKeyboardWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void aKeyboardIsFollowedPlayedAndAnswersTheGames();

private:
    void start() {
        m_app = std::make_unique<CBrindelApp>([this] {
            ViewDevices devices;
            auto midi = std::make_unique<RecordingMidi>(m_played);
            m_midi = midi.get();
            devices.midi = std::move(midi);
            devices.recognizer = std::make_unique<CRecognizer>(); // deaf: no microphone here
            devices.midiInputOptions.clientName = unique("tessimo-window");
            devices.midiInputOptions.backend = MidiBackendChoice::Jack;
            devices.midiInputOptions.pollInterval = std::chrono::milliseconds(100);
            return m_view = new CBrindelViewWidget(std::move(devices));
        });
        QVERIFY(m_app->initInstance({}));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->framesPainted() > 0, 10000);
    }
    QString pane() const { return m_app->mainFrame()->keyboardStatus(); }
    const GameState& state() const { return m_view->engine().state(); }

    // Presses key until the engine shows it took it (JACK drops the MIDI of a cycle that
    // overran, on a busy machine); returns the milliseconds from the last press to the effect.
    double pressUntil(std::uint8_t key, const std::function<bool()>& taken) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            send(*m_keys, 0x90, key, 77);
            const double ms = waitMs(taken, 1000);
            send(*m_keys, 0x80, key, 0);
            if (ms >= 0) {
                return ms;
            }
            ++m_lost;
        }
        return -1;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::vector<int> m_played;
    RecordingMidi* m_midi = nullptr;
    CBrindelViewWidget* m_view = nullptr;
    std::unique_ptr<CBrindelApp> m_app;
    std::unique_ptr<RtMidiOut> m_keys;
    int m_lost = 0;
};

void MidiKeyboardWindowTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_played.clear();
    m_lost = 0;
}

void MidiKeyboardWindowTest::cleanup() {
    m_keys.reset();
    m_app.reset();
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void MidiKeyboardWindowTest::aKeyboardIsFollowedPlayedAndAnswersTheGames() {
    start();
    QTRY_COMPARE_WITH_TIMEOUT(pane(), QStringLiteral("No MIDI keyboard connected"), 5000);

    // A keyboard plugged in while the program runs.
    const std::string name = unique("kbd");
    m_keys = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, name);
    QElapsedTimer plug;
    plug.start();
    m_keys->openVirtualPort("keys");
    const QString connected = QString::fromStdString("Keyboard: " + name + ":keys connected");
    QTRY_COMPARE_WITH_TIMEOUT(pane(), connected, 5000);
    const qint64 plugMs = plug.elapsed();

    // Play notes: the key sounds with its velocity and shows on the staff and the keyboard.
    QCOMPARE(m_view->engine().gameMode(), GameMode::PlayNotes);
    const double soundMs = pressUntil(
        64, [this] { return std::find(m_played.begin(), m_played.end(), 64) != m_played.end(); });
    QVERIFY(soundMs >= 0);
    QCOMPARE(state().highlightPitch, 64);
    QTRY_COMPARE_WITH_TIMEOUT(m_midi->heldKeys, 0, 2000); // released as played

    // Notes Dictation answered wrong, then right, on the keys.
    SettingsRecord& settings = m_view->engine().settings();
    selectOnly(settings, {60, 64, 67});
    m_view->engine().prepareExercise();
    m_view->runCommand(IdNotesDictation);
    QCOMPARE(m_view->engine().gameMode(), GameMode::NotesDictation);
    QVERIFY(waitMs([this] { return state().expectedPitch != -1; }, 10000) >= 0);
    const int expected = state().expectedPitch;
    const auto wrong = static_cast<std::uint8_t>(expected == 60 ? 64 : 60);
    std::vector<double> judgeMs;
    judgeMs.push_back(pressUntil(wrong, [this] { return state().errorCount == 1; }));
    QVERIFY(judgeMs.back() >= 0);
    QCOMPARE(state().wrongMark, static_cast<int>(wrong));
    judgeMs.push_back(
        pressUntil(static_cast<std::uint8_t>(expected), [this] { return state().okCount == 1; }));
    QVERIFY(judgeMs.back() >= 0);
    QCOMPARE(state().errorCount, 1);

    // Chords Dictation: a major chord struck as three keys.
    selectOnly(settings, {48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60});
    settings.chords.fill(0);
    settings.chords[0] = 1; // major
    settings.intervalsUp = 0;
    settings.intervalsDown = 0;
    settings.intervalsTogether = 1;
    m_view->engine().prepareExercise();
    m_view->runCommand(IdChordsDictation);
    QCOMPARE(m_view->engine().gameMode(), GameMode::ChordsDictation);
    QVERIFY(waitMs([this] { return !m_view->engine().answerGroup().empty(); }, 10000) >= 0);
    const int low = m_view->engine().questionNotes()[0].pitch;
    bool right = false;
    for (int attempt = 0; attempt < 5 && !right; ++attempt) {
        const int errors = state().errorCount;
        for (int key : {low + 4, low, low + 7}) { // in any order, within the window
            send(*m_keys, 0x90, static_cast<std::uint8_t>(key), 90);
        }
        waitMs([&] { return state().okCount == 1 || state().errorCount != errors; }, 1000);
        right = state().okCount == 1;
        for (int key : {low, low + 4, low + 7}) {
            send(*m_keys, 0x80, static_cast<std::uint8_t>(key), 0);
        }
        QTest::qWait(200);
        if (!right) {
            ++m_lost;
        }
    }
    QVERIFY(right);
    QVERIFY(m_view->keyboardAnswers() >= 3);

    // Unplugged: forgotten without an error.
    QElapsedTimer unplug;
    unplug.start();
    m_keys.reset();
    QTRY_COMPARE_WITH_TIMEOUT(pane(), QStringLiteral("No MIDI keyboard connected"), 5000);
    const qint64 unplugMs = unplug.elapsed();
    QCOMPARE(m_view->engine().gameMode(), GameMode::ChordsDictation);

    std::printf("keyboard plugged in to connected: %lld ms; unplugged to forgotten: %lld ms\n",
                static_cast<long long>(plugMs), static_cast<long long>(unplugMs));
    std::printf("key sent to note-on at the synthesiser: %.1f ms; key sent to judged: median "
                "%.1f ms; presses lost in overrun server cycles: %d\n",
                soundMs, median(judgeMs), m_lost);
    QVERIFY(m_lost <= 3);
}

QTEST_MAIN(MidiKeyboardWindowTest)
#include "MidiKeyboardWindowTest.moc"
