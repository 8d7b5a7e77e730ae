// The main frame around a fake view: furniture, texts, prompts, tooltips, enabling and
// command routing; the About box; finding and opening the manuals.
#include "FakeCommandView.h"
#include "shell/CAboutDlg.h"
#include "shell/CBrindelApp.h"
#include "shell/CMainFrame.h"
#include "shell/CommandTable.h"
#include "shell/KeyboardStatusText.h"
#include "shell/Translation.h"
#include "shell/UserManual.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

using namespace tessimo;

namespace {

QToolButton* buttonFor(CMainFrame& frame, int id) {
    return qobject_cast<QToolButton*>(frame.toolBar()->widgetForAction(frame.action(id)));
}

// Receives file URLs instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls.append(url); }

public:
    QList<QUrl> urls;
};

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void furnitureAndTexts();
    void toolBarOrderAndPictures();
    void promptsAndTooltips();
    void runningExerciseTitleAndReasons();
    void aboutFollowsIdle();
    void frenchInterfaceFollowsTheLocale();
    void routing();
    void soundSetupOfferedWhileSoundIsMissing();
    void wordsOfferedToRecordAgainOneAtATime();
    void aboutBox();
    void startupFailsOnUnreadableArgument();
    void manualsAreFoundAndHandedToTheBrowser();
};

void MainFrameTest::furnitureAndTexts() {
    auto* view = new FakeCommandView;
    CMainFrame frame(view);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.windowTitle(), QString::fromUtf8("default user — Tessimo"));
    QCOMPARE(frame.size(), QSize(1000, 600));
    QCOMPARE(frame.centralWidget(), view);
    QCOMPARE(frame.statusText(), QStringLiteral("Ready"));
    QCOMPARE(frame.toolBarArea(frame.toolBar()), Qt::TopToolBarArea);
    QVERIFY(frame.toolBar()->isMovable());
    QCOMPARE(frame.toolBar()->allowedAreas(), Qt::AllToolBarAreas);

    // The keyboard pane and three indicator panes after the message pane; the indicators are
    // empty while their keys are off, the keyboard pane hidden until the MIDI input says what
    // it offers.
    const QList<QLabel*> labels = frame.statusBar()->findChildren<QLabel*>();
    QCOMPARE(labels.size(), 5);
    auto* keyboardPane = frame.statusBar()->findChild<QLabel*>(QStringLiteral("keyboardPane"));
    QVERIFY(keyboardPane != nullptr);
    QVERIFY(keyboardPane->isHidden());
    emit view->keyboardStatusChanged(QStringLiteral("Keyboard: Piano connected"),
                                     QStringLiteral("Other programs can play into Tessimo:in"));
    QCOMPARE(frame.keyboardStatus(), QStringLiteral("Keyboard: Piano connected"));
    QVERIFY(keyboardPane->isVisible());
    QCOMPARE(keyboardPane->toolTip(), QStringLiteral("Other programs can play into Tessimo:in"));
    QVERIFY(frame.capsIndicator().isEmpty() || frame.capsIndicator() == "MAJ");

    const QList<QAction*> menus = frame.menuBar()->actions();
    QStringList titles;
    for (QAction* m : menus) {
        titles << m->text();
    }
    QCOMPARE(titles, (QStringList{"&File", "&Game", "&Help"}));

    QStringList items;
    QList<int> ids;
    for (QAction* m : menus) {
        for (QAction* a : m->menu()->actions()) {
            items << a->text();
            ids << a->data().toInt();
        }
    }
    QCOMPARE(items, (QStringList{"&Profile ...", "&Sound set-up ...", "&Exit", "&Configure ...",
                                 "St&atistics ...", "&Stop", "&Listen notes", "&Play notes",
                                 "&Notes Dictation", "Play in&tervals", "&Interval Dictation",
                                 "Play ch&ords", "C&hords Dictation", "&Record", "Reco&gnize",
                                 "Recognize on the MIDI &keyboard", "User manual (&English)",
                                 QString::fromUtf8("&Manuel (français)"), "&About ..."}));
    QCOMPARE(ids, (QList<int>{32803, 32911, 57665, 32771, 32910, 32900, 32783, 32794, 32798, 32795,
                              32791, 32797, 32792, 32782, 32784, 32912, 32786, 32789, 57664}));
    // Within each menu no two items share an access key.
    for (QAction* m : menus) {
        QSet<QChar> keys;
        for (QAction* a : m->menu()->actions()) {
            const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0, qPrintable(a->text()));
            QVERIFY2(!keys.contains(a->text().at(amp + 1).toLower()), qPrintable(a->text()));
            keys.insert(a->text().at(amp + 1).toLower());
        }
    }
    QCOMPARE(
        frame.action(IdRecognize)->statusTip(),
        QStringLiteral("View some scrolling notes and say (or play) them (voice or inst mode)"));
    QCOMPARE(frame.action(IdManualFrench)->statusTip(),
             QString::fromUtf8("Ouvrir le manuel utilisateur en français"));
    QCOMPARE(frame.action(IdExit)->statusTip(), QStringLiteral("Exit the application"));
    // The usual keys.
    QCOMPARE(frame.action(IdExit)->shortcut(), QKeySequence(QKeySequence::Quit));
    QCOMPARE(frame.action(IdStop)->shortcut(), QKeySequence(Qt::Key_Escape));
    QCOMPARE(frame.action(interfaceIsFrench() ? IdManualFrench : IdManualEnglish)->shortcut(),
             QKeySequence(QKeySequence::HelpContents));
    QVERIFY(
        frame.action(interfaceIsFrench() ? IdManualEnglish : IdManualFrench)->shortcut().isEmpty());
}

void MainFrameTest::toolBarOrderAndPictures() {
    CMainFrame frame(new FakeCommandView);
    const QList<QAction*> actions = frame.toolBar()->actions();
    QList<int> ids;
    for (QAction* a : actions) {
        QVERIFY2(!a->isSeparator(), "the tool bar has no separators");
        ids << a->data().toInt();
        // Every button has its picture, and it renders at small and high-DPI sizes.
        QVERIFY(!a->icon().isNull());
        for (int size : {16, 64}) {
            const QImage image = a->icon().pixmap(size, size).toImage();
            QCOMPARE(image.width(), size);
            int opaque = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
                }
            }
            QVERIFY2(opaque > size * size / 10, qPrintable(a->text()));
        }
    }
    QCOMPARE(ids, (QList<int>{32803, 32771, 32783, 32794, 32798, 32795, 32791, 32797, 32792, 32782,
                              32784, 57664, 32910}));
}

void MainFrameTest::promptsAndTooltips() {
    CMainFrame frame(new FakeCommandView);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    QToolButton* about = buttonFor(frame, IdAbout);
    QToolButton* profile = buttonFor(frame, IdProfile);
    QTest::mouseMove(about);
    QTRY_COMPARE(frame.statusText(), QStringLiteral("Display version & copyright"));
    QTest::mouseMove(profile);
    QTRY_COMPARE(frame.statusText(), QStringLiteral("Choose the user, or create a new one"));

    // Every button has a tooltip and a prompt of its own.
    QSet<QString> tips;
    for (int id : toolBarTable()) {
        QToolButton* button = buttonFor(frame, id);
        QHelpEvent tip(QEvent::ToolTip, button->rect().center(),
                       button->mapToGlobal(button->rect().center()));
        QApplication::sendEvent(button, &tip);
        // Each tooltip differs from the others, so the shown text changes with every button.
        QTRY_VERIFY(!QToolTip::text().isEmpty() && !tips.contains(QToolTip::text()));
        tips.insert(QToolTip::text());
        QVERIFY(!frame.action(id)->statusTip().isEmpty());
    }
    QVERIFY(tips.contains(QStringLiteral("About")));
    QVERIFY(tips.contains(QStringLiteral("Notes Dictation")));

    // A status message stays until a prompt replaces it, then "Ready" returns.
    frame.showStatusMessage(QStringLiteral("No synthesiser"));
    QCOMPARE(frame.statusText(), QStringLiteral("No synthesiser"));
    QTest::mouseMove(about);
    QTRY_COMPARE(frame.statusText(), QStringLiteral("Display version & copyright"));
    QTest::mouseMove(frame.centralWidget());
    QTRY_COMPARE(frame.statusText(), QStringLiteral("Ready"));
}

void MainFrameTest::runningExerciseTitleAndReasons() {
    auto* view = new FakeCommandView;
    CMainFrame frame(view);
    // The running exercise's item is checked, alone, and named in the title with the user.
    view->running = IdChordsDictation;
    view->user = QStringLiteral("Anna");
    view->setIdle(false);
    QVERIFY(frame.action(IdChordsDictation)->isChecked());
    QCOMPARE(frame.windowTitle(), QString::fromUtf8("Chords Dictation — Anna — Tessimo"));
    int checked = 0;
    for (int id : exerciseCommands()) {
        checked += frame.action(id)->isChecked() ? 1 : 0;
    }
    QCOMPARE(checked, 1);
    QVERIFY(buttonFor(frame, IdChordsDictation)->isChecked());
    // Clicking the checked button restarts that exercise; the check follows the view only.
    QTest::mouseClick(buttonFor(frame, IdChordsDictation), Qt::LeftButton);
    QCOMPARE(view->received.last(), int(IdChordsDictation));
    QVERIFY(frame.action(IdChordsDictation)->isChecked());
    view->running = 0;
    view->setIdle(true);
    for (int id : exerciseCommands()) {
        QVERIFY(!frame.action(id)->isChecked());
    }
    QCOMPARE(frame.windowTitle(), QString::fromUtf8("Anna — Tessimo"));

    // Escape goes to the view's stop, not through the enabling rules of Play notes.
    view->running = IdRecord;
    view->disabled = {IdPlayNotes};
    view->setIdle(false);
    QVERIFY(frame.action(IdStop)->isEnabled());
    frame.action(IdStop)->trigger();
    QCOMPARE(view->stops, 1);
    view->running = IdPlayNotes;
    view->setIdle(true);
    QVERIFY(!frame.action(IdStop)->isEnabled());

    // A disabled command's prompt says why; enabled again, it is its own prompt.
    view->disabled = {IdListenNotes};
    view->reasons[IdListenNotes] = QStringLiteral("no note is selected");
    view->setIdle(true);
    QCOMPARE(frame.action(IdListenNotes)->statusTip(),
             QString::fromUtf8("Listen selected notes — no note is selected"));
    view->disabled.clear();
    view->setIdle(true);
    QCOMPARE(frame.action(IdListenNotes)->statusTip(), QStringLiteral("Listen selected notes"));

    // A standing status (a game ended by its limit) replaces "Ready" while it holds.
    view->standing = QStringLiteral("Game over");
    view->setIdle(true);
    QCOMPARE(frame.statusText(), QStringLiteral("Game over"));
    view->standing.clear();
    view->setIdle(true);
    QCOMPARE(frame.statusText(), QStringLiteral("Ready"));
}

void MainFrameTest::frenchInterfaceFollowsTheLocale() {
    QVERIFY(translatorsFor(QLocale(QLocale::German)).empty());
    QVERIFY(translatorsFor(QLocale(QLocale::English)).empty());
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const auto translators = translatorsFor(QLocale());
    QVERIFY(!translators.empty());
    for (const auto& t : translators) {
        QCoreApplication::installTranslator(t.get());
    }
    {
        CMainFrame frame(new FakeCommandView);
        QStringList titles;
        for (QAction* m : frame.menuBar()->actions()) {
            titles << m->text();
            // Every item translated, its access key unique within its menu.
            QSet<QChar> keys;
            for (QAction* a : m->menu()->actions()) {
                const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
                QVERIFY2(amp >= 0, qPrintable(a->text()));
                const QChar key = a->text().at(amp + 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(a->text()));
                keys.insert(key);
            }
        }
        QCOMPARE(titles, (QStringList{"&Fichier", "&Jeu", "&Aide"}));
        QCOMPARE(frame.action(IdListenNotes)->text(), QStringLiteral("Écouter des &notes"));
        QCOMPARE(frame.action(IdStop)->statusTip(),
                 QStringLiteral("Arrêter l'exercice en cours et revenir à Jouer des notes"));
        QCOMPARE(frame.action(IdAbout)->toolTip(), QStringLiteral("À propos"));
        // F1 opens the manual of the interface's language.
        QCOMPARE(frame.action(IdManualFrench)->shortcut(),
                 QKeySequence(QKeySequence::HelpContents));
        QVERIFY(frame.action(IdManualEnglish)->shortcut().isEmpty());
        QCOMPARE(frame.statusText(), QStringLiteral("Prêt"));
        MidiInputStatus keyboards;
        keyboards.state = MidiInputState::Connected;
        keyboards.devices = {"nanoKEY2 MIDI 1", "Piano"};
        QCOMPARE(keyboardStatusText(keyboards),
                 QStringLiteral("Claviers connectés : nanoKEY2 MIDI 1, Piano"));
        keyboards.state = MidiInputState::NoSequencer;
        QCOMPARE(keyboardStatusText(keyboards),
                 QStringLiteral("Pas de clavier MIDI : cet ordinateur n'a pas de séquenceur MIDI"));
        QCOMPARE(frame.windowTitle(), QStringLiteral("utilisateur par défaut — Tessimo"));
        CAboutDlg box;
        QCOMPARE(box.windowTitle(), QStringLiteral("À propos de tessimo"));
        QVERIFY(box.licenceLabel()->text().startsWith(QStringLiteral("Logiciel libre")));
    }
    for (const auto& t : translators) {
        QCoreApplication::removeTranslator(t.get());
    }
    QLocale::setDefault(QLocale::c());
    CMainFrame english(new FakeCommandView);
    QCOMPARE(english.statusText(), QStringLiteral("Ready"));
    // In English the window says what the MIDI library's own description says.
    MidiInputStatus status;
    for (MidiInputState state : {MidiInputState::NoSequencer, MidiInputState::Failed,
                                 MidiInputState::NoDevice, MidiInputState::Connected}) {
        status.state = state;
        status.detail = "server gone";
        status.devices = {"Piano"};
        QCOMPARE(keyboardStatusText(status),
                 QString::fromStdString(describeMidiInputStatus(status)));
        status.devices = {"Piano", "Pads"};
        QCOMPARE(keyboardStatusText(status),
                 QString::fromStdString(describeMidiInputStatus(status)));
    }
    QVERIFY(keyboardStatusDetails(status).isEmpty());
    status.inputPort = "Tessimo:in";
    status.backend = "JACK";
    QCOMPARE(keyboardStatusDetails(status),
             QStringLiteral("Other programs can play into Tessimo:in (JACK)."));
}

void MainFrameTest::aboutFollowsIdle() {
    auto* view = new FakeCommandView;
    view->disabled = {IdRecord, IdRecognize};
    CMainFrame frame(view);
    QVERIFY(frame.action(IdAbout)->isEnabled());
    QVERIFY(!frame.action(IdRecord)->isEnabled());
    QVERIFY(!buttonFor(frame, IdRecognize)->isEnabled());
    QVERIFY(frame.action(IdPlayNotes)->isEnabled());

    view->setIdle(false);
    QVERIFY(!frame.action(IdAbout)->isEnabled());
    QVERIFY(!buttonFor(frame, IdAbout)->isEnabled());
    view->setIdle(true);
    QVERIFY(frame.action(IdAbout)->isEnabled());
    QVERIFY(buttonFor(frame, IdAbout)->isEnabled());
}

void MainFrameTest::routing() {
    auto* view = new FakeCommandView;
    CMainFrame frame(view);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy about(&frame, &CMainFrame::aboutRequested);

    QTest::mouseClick(buttonFor(frame, IdNotesDictation), Qt::LeftButton);
    frame.action(IdManualEnglish)->trigger();
    QCOMPARE(view->received, (QList<int>{IdNotesDictation, IdManualEnglish}));

    // A command whose rule has turned false since the bar was drawn is not run.
    view->disabled = {IdRecord};
    frame.routeCommand(IdRecord);
    QCOMPARE(view->received.size(), 2);
    QVERIFY(!frame.action(IdRecord)->isEnabled());

    QTest::mouseClick(buttonFor(frame, IdAbout), Qt::LeftButton);
    QCOMPARE(about.count(), 1);
    view->idle = false;
    frame.routeCommand(IdAbout);
    QCOMPARE(about.count(), 1);

    frame.action(IdExit)->trigger();
    QVERIFY(!frame.isVisible());
    QCOMPARE(view->received.size(), 2);
}

// The status bar offers the sound set-up only while the view says sound or the microphone is
// missing; the offer and the File menu item both reach the view's command.
void MainFrameTest::soundSetupOfferedWhileSoundIsMissing() {
    auto* view = new FakeCommandView;
    CMainFrame frame(view);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QToolButton* offer = frame.soundSetupButton();
    QVERIFY(offer != nullptr);
    QVERIFY(!offer->isVisible());
    emit view->soundSetupOffered(true);
    QVERIFY(offer->isVisible());
    QTest::mouseClick(offer, Qt::LeftButton);
    frame.action(IdSoundSetup)->trigger();
    QCOMPARE(view->received, (QList<int>{IdSoundSetup, IdSoundSetup}));
    emit view->soundSetupOffered(false);
    QVERIFY(!offer->isVisible());
}

// The view's offer of words to record again becomes a status bar button whose menu names each
// word; choosing one hands that word alone to the view. A new offer replaces the old one.
void MainFrameTest::wordsOfferedToRecordAgainOneAtATime() {
    auto* view = new FakeCommandView;
    CMainFrame frame(view);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QToolButton* offer = frame.recordAgainButton();
    QVERIFY(offer != nullptr);
    QVERIFY(!offer->isVisible());

    emit view->recordAgainOffered({QStringLiteral("SOL"), QStringLiteral("SI")}, {7, 11});
    QVERIFY(offer->isVisible());
    QCOMPARE(offer->text(), QStringLiteral("Record again"));
    QList<QAction*> items = offer->menu()->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), QStringLiteral("Record SOL again"));
    QCOMPARE(items[1]->text(), QStringLiteral("Record SI again"));
    items[1]->trigger();
    QCOMPARE(view->recordedAgain, (QList<int>{11}));

    emit view->recordAgainOffered({QStringLiteral("RE 4")}, {62});
    items = offer->menu()->actions();
    QCOMPARE(items.size(), 1);
    items[0]->trigger();
    QCOMPARE(view->recordedAgain, (QList<int>{11, 62}));

    emit view->recordAgainOffered({}, {});
    QVERIFY(!offer->isVisible());
}

void MainFrameTest::aboutBox() {
    CAboutDlg box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About tessimo"));
    QCOMPARE(box.versionLabel()->text(), QStringLiteral("Tessimo version 10.0"));
    QCOMPARE(box.versionLabel()->textFormat(), Qt::PlainText);
    QVERIFY(box.okButton()->isDefault());
    QVERIFY(box.width() > box.okButton()->width() * 2);
    QVERIFY(box.copyrightLabel()->text().contains(QString::fromUtf8("Copyright ©")));
    QVERIFY(box.licenceLabel()->text().contains(QStringLiteral("GNU General Public License")));
    // The libraries with the versions built against and run on.
    const QString libraries = box.librariesLabel()->text();
    QVERIFY2(libraries.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())),
             qPrintable(libraries));
    QVERIFY2(QRegularExpression(QStringLiteral("FluidSynth synthesizer \\d+\\.\\d+"))
                 .match(libraries)
                 .hasMatch(),
             qPrintable(libraries));
    QVERIFY2(libraries.contains(QStringLiteral("PortAudio sound library 19")),
             qPrintable(libraries));
    // It fits a small screen.
    box.adjustSize();
    QVERIFY(box.width() < 700);

    // Shown from the application: modal, closed by OK.
    CBrindelApp app([] { return new FakeCommandView; });
    QVERIFY(app.initInstance({}));
    bool sawBox = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        sawBox = shown != nullptr && shown->isModal();
        if (shown != nullptr) {
            QTest::mouseClick(shown->okButton(), Qt::LeftButton);
        }
    });
    app.mainFrame()->routeCommand(IdAbout);
    QVERIFY(sawBox);
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    // Escape closes it as well.
    QTimer::singleShot(0, [] {
        if (QWidget* shown = QApplication::activeModalWidget()) {
            QTest::keyClick(shown, Qt::Key_Escape);
        }
    });
    app.onAppAbout();
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainFrameTest::startupFailsOnUnreadableArgument() {
    CBrindelApp missing([] { return new FakeCommandView; });
    QVERIFY(!missing.initInstance({QStringLiteral("/nonexistent/file.tes")}));
    QVERIFY(missing.errorText().contains("/nonexistent/file.tes"));
    QVERIFY(missing.mainFrame() == nullptr);

    QTemporaryDir dir;
    const QString path = dir.filePath("some.tes");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("anything");
    file.close();
    CBrindelApp present([] { return new FakeCommandView; });
    QVERIFY(present.initInstance({path}));
    QVERIFY(present.mainFrame()->isVisible());
    QCOMPARE(present.mainFrame()->windowTitle(), QString::fromUtf8("default user — Tessimo"));
}

void MainFrameTest::manualsAreFoundAndHandedToTheBrowser() {
    QTemporaryDir first;
    QTemporaryDir second;
    QFile fr(second.filePath("tessimo-fr.html"));
    QVERIFY(fr.open(QIODevice::WriteOnly));
    fr.close();
    const QStringList dirs{first.path(), second.path()};
    QVERIFY(findManual(ManualLanguage::English, dirs).isEmpty());
    QCOMPARE(findManual(ManualLanguage::French, dirs), QFileInfo(fr).absoluteFilePath());

    // The build copies the manuals next to the test binary, as it does next to the program.
    const QString english = findManual(ManualLanguage::English, manualSearchDirs());
    QVERIFY(!english.isEmpty());

    // No browser on the offscreen platform: the status text says where the file is.
    const QString failure = openManual(ManualLanguage::English);
    QVERIFY(failure.contains(english));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QVERIFY(openManual(ManualLanguage::French).isEmpty());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls.size(), 1);
    QVERIFY(catcher.urls.first().toLocalFile().endsWith("tessimo-fr.html"));
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
