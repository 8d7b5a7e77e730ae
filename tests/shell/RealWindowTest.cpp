// The real window: the application object, the frame and the view over the exercise engine,
// driven by real mouse events on the offscreen platform. Sound goes to a recording MIDI
// output; the dialogs are stand-ins that the tests script.
#include "RecordingMidi.h"
#include "geometry/KeyboardGeometry.h"
#include "geometry/PitchAt.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryQueries.h"
#include "model/UserName.h"
#include "shell/CBrindelApp.h"
#include "shell/CBrindelViewWidget.h"
#include "shell/CMainFrame.h"
#include "shell/CommandTable.h"
#include "shell/ExerciseDialogsAdapter.h"
#include "shell/QtWindowTimer.h"
#include "shell/dialogs/CConfigureDialog.h"
#include "shell/dialogs/CProfile.h"
#include "shell/statistics/StatisticsWindow.h"
#include "support/FakeRecognizer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

using namespace tessimo;

namespace {

// Dialogs whose answer the test decides.
class ScriptedDialogs : public ExerciseDialogs {
public:
    bool showProfileDialog(std::string& userName, const ProfileSwitcher& switcher) override {
        if (!profileName || !switcher(*profileName).switched) {
            return false;
        }
        userName = *profileName;
        return true;
    }
    bool showConfigureDialog(SettingsRecord& settings) override {
        if (!configure) {
            return false;
        }
        configure(settings);
        return true;
    }

    std::optional<std::string> profileName;
    std::function<void(SettingsRecord&)> configure;
};

class UrlCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls.append(url); }

public:
    QList<QUrl> urls;
};

// The centre of a key in device pixels, checked against the engine's own mapping.
QPoint keyPoint(const CBrindelViewWidget& view, int pitch) {
    const KeyRect key = keyRect(pitch);
    const bool black = key.bottom < KeyboardBottom;
    const LogicalPoint logical{(key.left + key.right) / 2,
                               black ? (key.top + key.bottom) / 2 : (BlackKeyBottom + 3200) / 2};
    const DevicePoint device = logicalToDevice(logical, {view.width(), view.height()});
    return {device.x, device.y};
}

} // namespace

class RealWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsInPlayNotes();
    void aboutFollowsTheExercise();
    void clicksPlayAndHighlight();
    void notesDictationAnsweredWithTheMouse();
    void listenNotesSoundsAsItPaints();
    void recordAsksFirst();
    void configureRefreshesTheRules();
    void manualsOpenOrSayWhy();
    void realDialogsBehindTheAdapter();
    void silentSoundIsSaidOnce();
    void wheelStepsByNotch();
    void exitWritesNothing();
    void statisticsOpenAndKeepTheOptionInThePreferences();
    void weakSpotPracticeAsksTheMissedNoteMore();

private:
    QToolButton* button(int id) const {
        return qobject_cast<QToolButton*>(
            m_app->mainFrame()->toolBar()->widgetForAction(m_app->mainFrame()->action(id)));
    }
    CBrindelView& engine() const { return m_view->engine(); }
    void waitFrames(int count) {
        const int target = m_view->framesPainted() + count;
        QTRY_VERIFY_WITH_TIMEOUT(m_view->framesPainted() >= target, 5000);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::vector<int> m_played;
    ScriptedDialogs* m_dialogs = nullptr;
    CBrindelViewWidget* m_view = nullptr;
    std::unique_ptr<CBrindelApp> m_app;
};

void RealWindowTest::init() {
    // The program reads and writes its per-user files in the working folder.
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_played.clear();
    m_app = std::make_unique<CBrindelApp>([this] {
        ViewDevices devices;
        devices.midi = std::make_unique<RecordingMidi>(m_played);
        // A microphone of its own: whether this machine has one must not change what the
        // status bar says while the window is tested.
        devices.recognizer = std::make_unique<testing::FakeRecognizer>();
        auto dialogs = std::make_unique<ScriptedDialogs>();
        m_dialogs = dialogs.get();
        devices.dialogs = std::move(dialogs);
        return m_view = new CBrindelViewWidget(std::move(devices));
    });
    QVERIFY(m_app->initInstance({}));
    QVERIFY(QTest::qWaitForWindowExposed(m_app->mainFrame()));
    QTRY_VERIFY(m_view->framesPainted() > 0);
}

void RealWindowTest::cleanup() {
    m_app.reset();
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void RealWindowTest::startsInPlayNotes() {
    CMainFrame* frame = m_app->mainFrame();
    QCOMPARE(frame->windowTitle(), QString::fromUtf8("Play notes — default user — Tessimo"));
    QVERIFY(frame->action(IdPlayNotes)->isChecked());
    QCOMPARE(frame->size(), QSize(1000, 600));
    QCOMPARE(frame->statusText(), QStringLiteral("Ready"));
    QCOMPARE(frame->centralWidget(), m_view);
    QList<int> ids;
    for (QAction* a : frame->toolBar()->actions()) {
        ids << a->data().toInt();
    }
    QCOMPARE(ids, (QList<int>{32803, 32771, 32783, 32794, 32798, 32795, 32791, 32797, 32792, 32782,
                              32784, 57664, 32910}));

    // The first paint prepared the exercise; Play notes runs no timer at all.
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
    QVERIFY(!m_view->timer().isRunning());
    // With the synthesiser, recording and recognising have nothing to work with.
    QVERIFY(!frame->action(IdRecord)->isEnabled());
    QVERIFY(!button(IdRecognize)->isEnabled());
    QVERIFY(button(IdNotesDictation)->isEnabled());
    // Nothing was written at start-up.
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

void RealWindowTest::aboutFollowsTheExercise() {
    QVERIFY(button(IdAbout)->isEnabled());
    QTest::mouseClick(button(IdNotesDictation), Qt::LeftButton);
    QCOMPARE(engine().gameMode(), GameMode::NotesDictation);
    QVERIFY(!button(IdAbout)->isEnabled());
    QVERIFY(!m_app->mainFrame()->action(IdAbout)->isEnabled());
    QVERIFY(m_view->timer().isRunning());
    QCOMPARE(m_view->timer().periodMs(), 40);

    QTest::mouseClick(button(IdPlayChords), Qt::LeftButton);
    QCOMPARE(engine().gameMode(), GameMode::PlayChords);
    QVERIFY(!button(IdAbout)->isEnabled());

    QTest::mouseClick(button(IdPlayNotes), Qt::LeftButton);
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
    QVERIFY(button(IdAbout)->isEnabled());
    QVERIFY(!m_view->timer().isRunning());
}

void RealWindowTest::clicksPlayAndHighlight() {
    // A key of the keyboard.
    const QPoint c4 = keyPoint(*m_view, 60);
    QTest::mouseClick(m_view, Qt::LeftButton, {}, c4);
    QCOMPARE(engine().state().highlightPitch, 60);
    QCOMPARE(m_played, (std::vector<int>{60}));
    waitFrames(1);

    // A black key is not selected by default: it neither plays nor stays highlighted.
    QTest::mouseClick(m_view, Qt::LeftButton, {}, keyPoint(*m_view, 61));
    QCOMPARE(engine().state().highlightPitch, 255);
    QCOMPARE(m_played.size(), std::size_t{1});

    // A place on the staff: the note the engine finds there is played and highlighted.
    const ClientSize client{m_view->width(), m_view->height()};
    int staffPitch = 255;
    QPoint onStaff;
    for (int y = client.height / 20; y < client.height / 2 && staffPitch == 255; ++y) {
        onStaff = QPoint(client.width / 2, y);
        staffPitch = pitchAt({onStaff.x(), onStaff.y()}, client, engine().staffLayout(),
                             engine().pitchTable(), true);
    }
    QVERIFY(staffPitch != 255);
    QTest::mouseClick(m_view, Qt::LeftButton, {}, onStaff);
    QCOMPARE(engine().state().highlightPitch, staffPitch);
    QCOMPARE(m_played.back(), staffPitch);

    // Dragging across the keyboard plays each new key once.
    m_played.clear();
    QTest::mousePress(m_view, Qt::LeftButton, {}, keyPoint(*m_view, 64));
    QMouseEvent move(QEvent::MouseMove, keyPoint(*m_view, 65),
                     m_view->mapToGlobal(keyPoint(*m_view, 65)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(m_view, &move);
    QApplication::sendEvent(m_view, &move);
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, keyPoint(*m_view, 65));
    QCOMPARE(m_played, (std::vector<int>{64, 65}));
    QCOMPARE(engine().state().highlightPitch, 65);
}

void RealWindowTest::notesDictationAnsweredWithTheMouse() {
    // Fast scrolling, and a game that ends at the second error.
    engine().settings().speed = 10;
    engine().settings().errorLimitOn = 1;
    engine().settings().maxErrors = 2;
    QTest::mouseClick(button(IdNotesDictation), Qt::LeftButton);
    QCOMPARE(engine().gameMode(), GameMode::NotesDictation);

    constexpr int Questions = 4;
    for (int answered = 0; answered < Questions; ++answered) {
        // A question note has entered and been painted: the paint names the expected pitch.
        QTRY_VERIFY_WITH_TIMEOUT(engine().questionNotes().firstUnanswered() != nullptr, 5000);
        waitFrames(1);
        const int expected = engine().state().expectedPitch;
        QCOMPARE(expected, int(engine().questionNotes().firstUnanswered()->pitch));
        QTest::mouseMove(m_view, keyPoint(*m_view, expected));
        QTRY_COMPARE(engine().state().hoverPitch, expected);
        QTest::mouseClick(m_view, Qt::LeftButton, {}, keyPoint(*m_view, expected));
        QCOMPARE(engine().state().okCount, answered + 1);
        QCOMPARE(engine().state().errorCount, 0);
    }

    // Two wrong answers end the game: the timer stops, the score stays.
    for (int wrong = 1; wrong <= 2; ++wrong) {
        QTRY_VERIFY_WITH_TIMEOUT(engine().questionNotes().firstUnanswered() != nullptr, 5000);
        waitFrames(1);
        const int expected = engine().state().expectedPitch;
        const int other = expected == 60 ? 62 : 60;
        QTest::mouseMove(m_view, keyPoint(*m_view, other));
        QTRY_COMPARE(engine().state().hoverPitch, other);
        m_played.clear();
        QTest::mouseClick(m_view, Qt::LeftButton, {}, keyPoint(*m_view, other));
        QCOMPARE(engine().state().errorCount, wrong);
        QCOMPARE(engine().state().wrongMark, other);
        // The wrong choice is played so the user hears it.
        QCOMPARE(m_played, (std::vector<int>{other}));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!m_view->timer().isRunning(), 2000);
    QCOMPARE(engine().gameMode(), GameMode::NotesDictation);
    QCOMPARE(engine().state().okCount, Questions);
    // The status bar says why the game stopped and how to play again, until the next command.
    CMainFrame* frame = m_app->mainFrame();
    const QString over = QStringLiteral("Game over: 2 errors, the limit set in Game > "
                                        "Configure. To play again, choose Notes Dictation again.");
    QCOMPARE(frame->statusText(), over);
    QTest::mouseMove(button(IdAbout));
    QTest::mouseMove(m_view);
    QTRY_COMPARE(frame->statusText(), over);
    QVERIFY(frame->action(IdNotesDictation)->isChecked());
    // Every answer is in the default user's practice history, as given with the mouse.
    QVERIFY(m_view->flushPracticeHistory(std::chrono::seconds(5)));
    HistoryProblem problem;
    HistoryQueries history("history.sqlite", problem);
    QVERIFY2(history.isOpen(), problem.message.c_str());
    HistoryFilter byMouse;
    byMouse.exercise = Exercise::NotesDictation;
    byMouse.input = AnswerInput::Mouse;
    int right = 0;
    int wrong = 0;
    for (const PitchStatistics& pitch : history.pitchStatistics(byMouse)) {
        right += pitch.right;
        wrong += pitch.wrong;
    }
    QCOMPARE(right, Questions);
    QCOMPARE(wrong, 2);
    // Frozen, but still an exercise: About stays disabled until another command.
    QVERIFY(!button(IdAbout)->isEnabled());
    QTest::mouseClick(button(IdPlayNotes), Qt::LeftButton);
    QVERIFY(button(IdAbout)->isEnabled());
    QTRY_COMPARE(frame->statusText(), QStringLiteral("Ready"));
}

void RealWindowTest::listenNotesSoundsAsItPaints() {
    QTest::mouseClick(button(IdListenNotes), Qt::LeftButton);
    QCOMPARE(engine().gameMode(), GameMode::ListenNotes);
    QCOMPARE(m_view->timer().periodMs(), 62); // speed 3
    QTRY_VERIFY_WITH_TIMEOUT(m_played.size() >= 2, 5000);
    for (int pitch : m_played) {
        QVERIFY(pitch >= 36 && pitch <= 83);
    }
    QVERIFY(!button(IdAbout)->isEnabled());
    CMainFrame* frame = m_app->mainFrame();
    QVERIFY(frame->action(IdListenNotes)->isChecked());
    QVERIFY(!frame->action(IdPlayNotes)->isChecked());
    QCOMPARE(frame->windowTitle(), QString::fromUtf8("Listen notes — default user — Tessimo"));
    // Escape stops it and goes back to Play notes.
    QTest::keyClick(frame, Qt::Key_Escape);
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
    QVERIFY(!m_view->timer().isRunning());
    QVERIFY(frame->action(IdPlayNotes)->isChecked());
    QVERIFY(button(IdAbout)->isEnabled());
}

void RealWindowTest::recordAsksFirst() {
    // Voice mode with the default selection: Record becomes possible.
    m_dialogs->configure = [](SettingsRecord& s) { s.soundMode = Voice; };
    m_app->mainFrame()->action(IdConfigure)->trigger();
    QVERIFY(button(IdRecord)->isEnabled());
    QTest::mouseClick(button(IdListenNotes), Qt::LeftButton);
    // Listen notes is not possible in Voice mode without recordings, and its prompt says so.
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
    QVERIFY(m_app->mainFrame()
                ->action(IdListenNotes)
                ->statusTip()
                .endsWith(QStringLiteral(
                    "not every selected note is recorded yet: record them first with Game > "
                    "Record")));

    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    auto answer = [&](QMessageBox::StandardButton choice) {
        QTimer::singleShot(0, [&, choice] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            caption = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            icon = box->icon();
            QTest::mouseClick(box->button(choice), Qt::LeftButton);
        });
    };

    answer(QMessageBox::Cancel);
    QTest::mouseClick(button(IdRecord), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Record activity"));
    QCOMPARE(text, QStringLiteral("You are about to record selected notes"));
    QCOMPARE(buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
    QVERIFY(!m_view->timer().isRunning());

    caption.clear();
    answer(QMessageBox::Ok);
    QTest::mouseClick(button(IdRecord), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Record activity"));
    QCOMPARE(engine().gameMode(), GameMode::Record);
    QCOMPARE(m_view->timer().periodMs(), 300);
    QVERIFY(!button(IdAbout)->isEnabled());
    // The countdown is painted without a microphone as with one.
    waitFrames(1);
    // Escape stops the recording although Play notes cannot start without recordings.
    QVERIFY(!m_app->mainFrame()->action(IdPlayNotes)->isEnabled());
    QVERIFY(m_app->mainFrame()->action(IdRecord)->isChecked());
    m_app->mainFrame()->activateWindow(); // the confirmation box had the focus
    QVERIFY(QTest::qWaitForWindowActive(m_app->mainFrame()));
    QTest::keyClick(m_app->mainFrame(), Qt::Key_Escape);
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
    QVERIFY(!m_view->timer().isRunning());
}

void RealWindowTest::configureRefreshesTheRules() {
    // Without the mouse to move groups, the interval and chord modes have no answer.
    m_dialogs->configure = [](SettingsRecord& s) {
        s.dragWithMouse = 0;
        s.wheelChangesType = 0;
    };
    QTest::mouseClick(button(IdConfigure), Qt::LeftButton);
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
    for (int id : {IdPlayIntervals, IdIntervalDictation, IdPlayChords, IdChordsDictation}) {
        QVERIFY(!button(id)->isEnabled());
        QVERIFY(m_app->mainFrame()->action(id)->statusTip().contains(
            QStringLiteral("neither dragging with the mouse nor the wheel is allowed")));
    }
    QVERIFY(button(IdNotesDictation)->isEnabled());
    // In Synthesizer mode Record and Recognize say what they need.
    for (int id : {IdRecord, IdRecognize}) {
        QVERIFY(m_app->mainFrame()->action(id)->statusTip().contains(
            QStringLiteral("choose the voice or instrument sound")));
    }
    // With no note selected every exercise says so.
    m_dialogs->configure = [](SettingsRecord& s) { s.notes.fill(0); };
    QTest::mouseClick(button(IdConfigure), Qt::LeftButton);
    for (int id : {IdListenNotes, IdPlayNotes, IdNotesDictation}) {
        QVERIFY(!button(id)->isEnabled());
        QVERIFY(m_app->mainFrame()->action(id)->statusTip().endsWith(
            QStringLiteral("no note is selected: choose notes in Game > Configure")));
    }
    m_dialogs->configure = [](SettingsRecord& s) { s.notes.fill(1); };
    QTest::mouseClick(button(IdConfigure), Qt::LeftButton);

    // A cancelled profile choice leaves the view idle, with no exercise shown.
    QTest::mouseClick(button(IdProfile), Qt::LeftButton);
    QCOMPARE(engine().gameMode(), GameMode::Idle);
    QVERIFY(button(IdAbout)->isEnabled());

    // A new user starts with the settings in use, written to their file.
    m_dialogs->profileName = "ann";
    QTest::mouseClick(button(IdProfile), Qt::LeftButton);
    QCOMPARE(engine().userName(), std::string("ann"));
    QVERIFY(QFile::exists(m_dir->filePath("configann.dat")));
    QTRY_COMPARE(engine().gameMode(), GameMode::PlayNotes);
    QTRY_COMPARE(m_app->mainFrame()->windowTitle(),
                 QString::fromUtf8("Play notes — ann — Tessimo"));
}

void RealWindowTest::manualsOpenOrSayWhy() {
    CMainFrame* frame = m_app->mainFrame();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    frame->action(IdManualFrench)->trigger();
    frame->action(IdManualEnglish)->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls.size(), 2);
    QVERIFY(catcher.urls[0].toLocalFile().endsWith("tessimo-fr.html"));
    QVERIFY(catcher.urls[1].toLocalFile().endsWith("tessimo-en.html"));
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);

    // Without a browser the program carries on and says so.
    frame->action(IdManualEnglish)->trigger();
    QVERIFY(frame->statusText().contains("No web browser"));
    QVERIFY(frame->statusText().contains("tessimo-en.html"));
    QCOMPARE(engine().gameMode(), GameMode::PlayNotes);
}

void RealWindowTest::realDialogsBehindTheAdapter() {
    ExerciseDialogsAdapter dialogs(m_view);
    SettingsRecord settings;

    // Configuration: Cancel and OK both come back as the dialog's answer.
    for (bool accept : {false, true}) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<CConfigureDialog*>(QApplication::activeModalWidget());
            shown = box != nullptr;
            if (box != nullptr) {
                accept ? box->accept() : box->reject();
            }
        });
        QCOMPARE(dialogs.showConfigureDialog(settings), accept);
        QVERIFY(shown);
    }

    // Profile: a name that cannot form a file name is refused and the dialog stays open;
    // a good one is handed back.
    std::string user = "ann";
    QStringList attempts{QStringLiteral("../evil"), QStringLiteral("bob")};
    std::vector<std::string> asked; // the names the dialog asked to switch to
    const ProfileSwitcher switcher = [&asked](const std::string& name) {
        asked.push_back(name);
        ProfileSwitchResult result;
        const UserNameProblem problem = checkUserName(name);
        result.switched = problem == UserNameProblem::None;
        result.message = describeUserNameProblem(problem);
        return result;
    };
    std::function<void()> type = [&] {
        auto* box = qobject_cast<CProfile*>(QApplication::activeModalWidget());
        if (box == nullptr || attempts.isEmpty()) {
            return;
        }
        auto* edit = qobject_cast<QLineEdit*>(box->control(CProfile::NameEdit));
        edit->setText(attempts.takeFirst());
        box->accept();
        if (box->isVisible()) {
            QTimer::singleShot(0, type);
        }
    };
    QTimer::singleShot(0, type);
    QVERIFY(dialogs.showProfileDialog(user, switcher));
    QCOMPARE(user, std::string("bob"));
    QVERIFY(attempts.isEmpty());
    QCOMPARE(asked, (std::vector<std::string>{"../evil", "bob"}));

    // Cancel keeps the name.
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<CProfile*>(QApplication::activeModalWidget())) {
            box->reject();
        }
    });
    QVERIFY(!dialogs.showProfileDialog(user, switcher));
    QCOMPARE(user, std::string("bob"));
}

void RealWindowTest::silentSoundIsSaidOnce() {
    // A synthesiser without a SoundFont (and here without a device either) stays silent; the
    // view says why once and keeps working.
    QTemporaryDir noSoundFonts;
    ViewDevices devices;
    devices.soundFontDirectory = noSoundFonts.path().toStdString();
    CBrindelViewWidget view(std::move(devices));
    QSignalSpy said(&view, &CommandView::statusMessage);
    view.resize(800, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // The synthesiser's reason, and "No microphone" when this machine has none.
    auto soundMessages = [&] {
        int n = 0;
        for (const auto& message : said) {
            n += message.first().toString() != "No microphone" ? 1 : 0;
        }
        return n;
    };
    QTRY_COMPARE_WITH_TIMEOUT(soundMessages(), 1, 10000);
    QString text;
    for (const auto& message : said) {
        if (message.first().toString() != "No microphone") {
            text = message.first().toString();
        }
    }
    QVERIFY(!text.isEmpty());
    QVERIFY2(text.size() < 120 && !text.contains("0x"), qPrintable(text));

    QTRY_VERIFY(view.framesPainted() > 0);
    QTest::mouseClick(&view, Qt::LeftButton, {}, keyPoint(view, 60));
    QCOMPARE(view.engine().state().highlightPitch, 60);
    QTest::qWait(100);
    QCOMPARE(soundMessages(), 1);
    QVERIFY(said.count() <= 2);
}

void RealWindowTest::wheelStepsByNotch() {
    QTest::mouseClick(button(IdPlayIntervals), Qt::LeftButton);
    QTRY_VERIFY(engine().answerGroup().size() == 2);
    const QPoint at = m_view->rect().center();
    auto turn = [&](int delta) {
        QWheelEvent wheel(at, m_view->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view, &wheel);
    };
    // Two thirds of a notch never reach the engine; the last third makes one step, which
    // changes the size in at least one of the two directions.
    bool changed = false;
    for (int way : {1, -1}) {
        const int start = engine().groupShape().shownInterval;
        turn(40 * way);
        turn(40 * way);
        QCOMPARE(engine().groupShape().shownInterval, start);
        turn(40 * way);
        if (engine().groupShape().shownInterval != start) {
            changed = true;
            // The remainder starts from zero again: a third of a notch back does nothing.
            const int after = engine().groupShape().shownInterval;
            turn(-40 * way);
            QCOMPARE(engine().groupShape().shownInterval, after);
            break;
        }
    }
    QVERIFY(changed);
}

void RealWindowTest::exitWritesNothing() {
    QTest::mouseClick(button(IdNotesDictation), Qt::LeftButton);
    m_app->mainFrame()->action(IdExit)->trigger();
    QVERIFY(!m_app->mainFrame()->isVisible());
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

// The Statistics button opens the window over the user's history; its weak-spot option is
// kept in prefs<name>.ini, and the settings file is left alone.
void RealWindowTest::statisticsOpenAndKeepTheOptionInThePreferences() {
    QVERIFY(button(IdStatistics)->isEnabled());
    QTest::mouseClick(button(IdNotesDictation), Qt::LeftButton);
    QVERIFY(m_app->mainFrame()->action(IdStatistics)->isEnabled()); // also while a game runs
    QTest::mouseClick(button(IdStatistics), Qt::LeftButton);
    StatisticsWindow* window = m_view->statisticsWindow();
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), QString::fromUtf8("Statistics — default user"));
    QVERIFY(window->summaryText().contains(QStringLiteral("history.sqlite")));
    QCOMPARE(engine().gameMode(), GameMode::NotesDictation); // the game goes on

    QVERIFY(!window->weakSpotBox()->isChecked());
    QVERIFY(!m_view->weakSpotPractice());
    window->weakSpotBox()->click();
    QVERIFY(m_view->weakSpotPractice());
    QFile prefs(m_dir->filePath(QStringLiteral("prefs.ini")));
    QVERIFY(prefs.open(QIODevice::ReadOnly));
    QVERIFY(prefs.readAll().contains("practice.weak-spots = on"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("prefs.ini")});

    // Opened again, it is the same window, with the option as saved.
    window->close();
    QTest::mouseClick(button(IdStatistics), Qt::LeftButton);
    QCOMPARE(m_view->statisticsWindow(), window);
    QVERIFY(window->isVisible());
    QVERIFY(window->weakSpotBox()->isChecked());
    window->weakSpotBox()->click();
    QVERIFY(!m_view->weakSpotPractice());
}

// With the option on, the game's questions come more often on the note the history shows as
// missed, and only from the selection; off, as evenly as ever.
void RealWindowTest::weakSpotPracticeAsksTheMissedNoteMore() {
    const PitchTable& table = engine().pitchTable();
    std::vector<int> selection;
    for (int i = 0; i < table.selectedCount(); ++i) {
        selection.push_back(table.nthSelected(i)->pitch);
    }
    QVERIFY(selection.size() >= 4);
    const int weak = selection[1];
    {
        HistoryProblem problem;
        HistoryDatabase db =
            HistoryDatabase::open("history.sqlite", HistoryDatabase::Access::ReadWrite, problem);
        QVERIFY2(db.isOpen(), problem.message.c_str());
        std::vector<AnswerOutcome> rows;
        for (int pitch : selection) {
            for (int i = 0; i < 4; ++i) {
                AnswerOutcome a;
                a.expected = PitchGroup::single(pitch);
                a.outcome = pitch == weak ? Outcome::Missed : Outcome::Right;
                if (pitch != weak) {
                    a.given = a.expected;
                    a.answerMs = 800;
                }
                rows.push_back(a);
            }
        }
        QVERIFY2(db.insert(rows, problem), problem.message.c_str());
    }
    // The share of the weak note among 200 questions of a fast game without limits, driven
    // tick by tick.
    const auto weakShare = [&] {
        engine().settings().speed = 10;
        engine().settings().errorLimitOn = 0;
        engine().settings().unknownLimitOn = 0;
        QTest::mouseClick(button(IdNotesDictation), Qt::LeftButton);
        int asked = 0;
        int weakAsked = 0;
        for (int tick = 0; tick < 10000 && asked < 200; ++tick) {
            engine().onTimer(1);
            const CNotesList& questions = engine().questionNotes();
            if (!questions.empty() && questions.back().x == EntryX) { // just asked
                const int pitch = questions.back().pitch;
                ++asked;
                weakAsked += pitch == weak ? 1 : 0;
                if (std::find(selection.begin(), selection.end(), pitch) == selection.end()) {
                    return -1.0;
                }
            }
        }
        QTest::mouseClick(button(IdPlayNotes), Qt::LeftButton);
        return asked == 200 ? weakAsked / 200.0 : -2.0;
    };
    // Nobody answers these games: kept, their misses would make every note weak alike.
    engine().setOutcomeSink(nullptr);
    const double off = weakShare();
    QVERIFY(m_view->setWeakSpotPractice(true).isEmpty());
    const double on = weakShare();
    std::printf("pitch %d of %zu selected: asked %.0f %% of the time without the option, %.0f %% "
                "with it\n",
                weak, selection.size(), 100 * off, 100 * on);
    QVERIFY(off >= 0 && on >= 0);
    // One weight of 16 against the others' 1 each: 16 / (16 + n - 1) against 1 / n.
    const double expectedOn = 16.0 / (15.0 + static_cast<double>(selection.size()));
    QVERIFY(off < 3.0 / static_cast<double>(selection.size()));
    QVERIFY(on > expectedOn * 0.6);
}

QTEST_MAIN(RealWindowTest)
#include "RealWindowTest.moc"
