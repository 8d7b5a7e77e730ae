// The window and the recogniser's two paths: each user's preference chooses the path (at
// start-up and on a profile switch), the adaptive path's calibration is announced, a word it
// heard but did not judge is asked again on the display and in the status bar without counting
// an error, and an instrument needs no recording there.
#include "recognition/RecognitionPath.h"
#include "RecordingMidi.h"
#include "model/UserPreferences.h"
#include "recognition/CRecognizer.h"
#include "shell/CBrindelApp.h"
#include "shell/CBrindelViewWidget.h"
#include "shell/CMainFrame.h"
#include "shell/CommandTable.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <cmath>
#include <optional>
#include <vector>

using namespace tessimo;

namespace {

class ScriptedDialogs : public ExerciseDialogs {
public:
    bool showProfileDialog(std::string& userName, const ProfileSwitcher& switcher) override {
        if (!profileName || !switcher(*profileName).switched) {
            return false;
        }
        userName = *profileName;
        return true;
    }
    bool showConfigureDialog(SettingsRecord&) override { return false; }
    std::optional<std::string> profileName;
};

void writePreference(const std::string& user, RecognitionChoice choice) {
    UserPreferences preferences;
    preferences.values().recognition = choice;
    QVERIFY(static_cast<bool>(preferences.save(preferencesFileName(user))));
}

// A quiet room of the given length, with a burst of loud noise in the middle: a "word" that
// has neither a pitch nor a template.
std::vector<std::int16_t> roomWithNoiseBurst() {
    std::vector<std::int16_t> s(static_cast<std::size_t>(3.0 * 22000));
    std::uint32_t state = 7;
    for (std::size_t i = 0; i < s.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const double white = (state >> 8) / 8388608.0 - 1.0;
        const bool burst = i >= 33000 && i < 33000 + 9000;
        s[i] = static_cast<std::int16_t>(std::lround(white * (burst ? 9000.0 : 30.0)));
    }
    return s;
}

} // namespace

class RecognitionPathTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void eachUsersPreferenceChoosesThePath();
    void anInstrumentNeedsNoRecordingOnTheAdaptivePath();
    void aWordNotJudgedIsAskedAgainWithoutAnError();
    void theKeyboardForRecognizeIsEachUsersChoiceAndNeedsNoMicrophone();

private:
    void start() {
        m_app = std::make_unique<CBrindelApp>([this] {
            ViewDevices devices;
            devices.midi = std::make_unique<RecordingMidi>(m_played);
            auto recognizer = std::make_unique<CRecognizer>(); // deaf: the test feeds it
            m_recognizer = recognizer.get();
            devices.recognizer = std::move(recognizer);
            auto dialogs = std::make_unique<ScriptedDialogs>();
            m_dialogs = dialogs.get();
            devices.dialogs = std::move(dialogs);
            return m_view = new CBrindelViewWidget(std::move(devices));
        });
        QVERIFY(m_app->initInstance({}));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->framesPainted() > 0, 10000);
    }
    void useInstrument() {
        m_view->engine().settings().soundMode = Instrument;
        m_view->engine().prepareExercise();
    }
    bool recognizeEnabled() const { return m_view->commandEnabled(IdRecognize); }
    QString status() const { return m_app->mainFrame()->statusText(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::vector<int> m_played;
    CRecognizer* m_recognizer = nullptr;
    ScriptedDialogs* m_dialogs = nullptr;
    CBrindelViewWidget* m_view = nullptr;
    std::unique_ptr<CBrindelApp> m_app;
};

void RecognitionPathTest::initTestCase() {
    // No JACK server answers to this name: the MIDI input finds no MIDI system, as in CI.
    qputenv("JACK_DEFAULT_SERVER", "tessimo-nobody-" + QByteArray::number(::getpid()));
}

void RecognitionPathTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_played.clear();
}

void RecognitionPathTest::cleanup() {
    m_app.reset();
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void RecognitionPathTest::eachUsersPreferenceChoosesThePath() {
    // The default user chose the documented path; "ann" has no preferences file; "bob" chose
    // the adaptive path explicitly, "cy" the documented one.
    writePreference("", RecognitionChoice::Documented);
    writePreference("bob", RecognitionChoice::Adaptive);
    writePreference("cy", RecognitionChoice::Documented);
    start();
    QCOMPARE(m_recognizer->recognitionPath(), RecognitionPath::Documented);

    const std::pair<const char*, RecognitionPath> switches[] = {
        {"ann", RecognitionPath::Adaptive}, // no file: the default, the adaptive path
        {"cy", RecognitionPath::Documented},
        {"bob", RecognitionPath::Adaptive},
    };
    for (const auto& [user, path] : switches) {
        m_dialogs->profileName = user;
        m_view->runCommand(IdProfile);
        QCOMPARE(m_view->engine().userName(), std::string(user));
        QCOMPARE(m_recognizer->recognitionPath(), path);
    }
    // A refused switch keeps the user, and with them their path.
    m_dialogs->profileName.reset();
    m_view->runCommand(IdProfile);
    QCOMPARE(m_recognizer->recognitionPath(), RecognitionPath::Adaptive);
}

void RecognitionPathTest::anInstrumentNeedsNoRecordingOnTheAdaptivePath() {
    writePreference("cy", RecognitionChoice::Documented);
    start();
    useInstrument();
    QVERIFY(recognizeEnabled()); // the pitch tracker names the notes
    m_dialogs->profileName = "cy";
    m_view->runCommand(IdProfile);
    useInstrument();
    QVERIFY(!recognizeEnabled()); // the documented path has only recordings to go by
    // The voice always needs its recordings.
    m_dialogs->profileName = "ann";
    m_view->runCommand(IdProfile);
    m_view->engine().settings().soundMode = Voice;
    m_view->engine().prepareExercise();
    QVERIFY(!recognizeEnabled());
}

void RecognitionPathTest::aWordNotJudgedIsAskedAgainWithoutAnError() {
    start();
    useInstrument();
    m_view->runCommand(IdRecognize);
    QCOMPARE(m_view->engine().gameMode(), GameMode::Recognize);
    // The room is listened to first, and that is said.
    QVERIFY(m_view->painter().quietPlease());
    QVERIFY(status().startsWith(QStringLiteral("Quiet please")));
    QTRY_VERIFY_WITH_TIMEOUT(!m_view->painter().quietPlease(), 10000);
    QVERIFY(!status().startsWith(QStringLiteral("Quiet please")));

    // A sound with no pitch and no template: heard, not judged.
    const auto heard = roomWithNoiseBurst();
    for (std::size_t i = 0; i < heard.size(); i += CaptureBufferSamples) {
        m_recognizer->onCaptureBuffer(
            heard.data() + i, std::min<std::size_t>(CaptureBufferSamples, heard.size() - i));
    }
    QVERIFY(!m_view->painter().sayAgain()); // it reaches the window through its event loop
    QTRY_VERIFY_WITH_TIMEOUT(m_view->painter().sayAgain(), 10000);
    QCOMPARE(status(), QStringLiteral("Say again"));
    QCOMPARE(m_view->engine().state().errorCount, 0);
    QCOMPARE(m_view->engine().state().okCount, 0);
    // The "?" lasts a moment.
    QTRY_VERIFY_WITH_TIMEOUT(!m_view->painter().sayAgain(),
                             10 * CBrindelViewWidget::SayAgainMilliseconds);

    // Leaving Recognize ends a notice at once.
    m_view->runCommand(IdRecognize);
    QVERIFY(m_view->painter().quietPlease());
    m_view->stopExercise();
    QVERIFY(m_view->engine().gameMode() != GameMode::Recognize);
    QVERIFY(!m_view->painter().quietPlease());
}

void RecognitionPathTest::theKeyboardForRecognizeIsEachUsersChoiceAndNeedsNoMicrophone() {
    start();
    CMainFrame* frame = m_app->mainFrame();
    // Without any MIDI system the program says so once, in its pane, and works on.
    if (::access("/dev/snd/seq", F_OK) != 0) {
        QTRY_COMPARE_WITH_TIMEOUT(
            frame->keyboardStatus(),
            QStringLiteral("No MIDI keyboard: there is no MIDI sequencer on this machine"), 5000);
    }
    QVERIFY(!recognizeEnabled()); // the synthesiser, no recordings: nothing to listen to
    QVERIFY(!frame->action(IdKeyboardAnswers)->isChecked());

    frame->routeCommand(IdKeyboardAnswers);
    QVERIFY(frame->action(IdKeyboardAnswers)->isChecked());
    QVERIFY(recognizeEnabled());
    UserPreferences saved;
    QCOMPARE(saved.load(preferencesFileName("")).outcome, PreferencesLoad::Outcome::Loaded);
    QCOMPARE(saved.values().recognizeInput, RecognizeInput::MidiKeyboard);
    QCOMPARE(saved.values().recognition, RecognitionChoice::Adaptive); // the rest as it was

    // Played on the keys: no microphone, so no "Quiet please" while the room is measured.
    frame->routeCommand(IdRecognize);
    QCOMPARE(m_view->engine().gameMode(), GameMode::Recognize);
    QVERIFY(!m_view->painter().quietPlease());
    QVERIFY(!status().startsWith(QStringLiteral("Quiet please")));

    // Another user has a choice of their own; coming back finds this one's again.
    m_dialogs->profileName = "ann";
    frame->routeCommand(IdProfile);
    QVERIFY(!m_view->recognizeByKeyboard());
    QVERIFY(!frame->action(IdKeyboardAnswers)->isChecked());
    m_dialogs->profileName = "ann";
    frame->routeCommand(IdKeyboardAnswers);
    frame->routeCommand(IdKeyboardAnswers); // on and off again
    QVERIFY(!m_view->recognizeByKeyboard());
    QCOMPARE(saved.load(preferencesFileName("ann")).outcome, PreferencesLoad::Outcome::Loaded);
    QCOMPARE(saved.values().recognizeInput, RecognizeInput::Microphone);
    QCOMPARE(saved.load(preferencesFileName("")).outcome, PreferencesLoad::Outcome::Loaded);
    QCOMPARE(saved.values().recognizeInput, RecognizeInput::MidiKeyboard);
}

QTEST_MAIN(RecognitionPathTest)
#include "RecognitionPathTest.moc"
