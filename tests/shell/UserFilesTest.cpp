// The program on user files it must not trust: a settings file that is a named pipe, socket,
// device, link or folder, one that cannot be read, and a document named on the command line
// that is not a regular file. Start-up neither waits on them nor overwrites them, and says why.
#include "RecordingMidi.h"
#include "shell/CBrindelApp.h"
#include "shell/CBrindelViewWidget.h"
#include "shell/CMainFrame.h"
#include "shell/CommandTable.h"
#include "support/HostileEntries.h"
#include "support/Watchdog.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

using namespace tessimo;
using namespace tessimo::testing;
namespace fs = std::filesystem;

namespace {

// Configure confirms with a changed speed; Profile chooses profileName when set.
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
        settings.speed = 8;
        return true;
    }
    std::optional<std::string> profileName;
};

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class UserFilesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void aSettingsFileThatIsNotAFileIsSaidAndKept_data();
    void aSettingsFileThatIsNotAFileIsSaidAndKept();
    void anotherUserMayBeChosenAndSavedAfterwards();
    void aDocumentThatIsNotARegularFileEndsStartUpAtOnce();

private:
    // Starts the program in the working folder; a watchdog ends the test run if start-up
    // blocks on a file.
    void start() {
        const Watchdog guard("start-up");
        m_app = std::make_unique<CBrindelApp>([this] {
            ViewDevices devices;
            devices.midi = std::make_unique<RecordingMidi>(m_played);
            auto dialogs = std::make_unique<ScriptedDialogs>();
            m_dialogs = dialogs.get();
            devices.dialogs = std::move(dialogs);
            return m_view = new CBrindelViewWidget(std::move(devices));
        });
        QVERIFY(m_app->initInstance({}));
    }
    QString status() const { return m_app->mainFrame()->statusText(); }
    fs::path work() const { return fs::path(m_dir->path().toStdString()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::vector<int> m_played;
    ScriptedDialogs* m_dialogs = nullptr;
    CBrindelViewWidget* m_view = nullptr;
    std::unique_ptr<CBrindelApp> m_app;
};

void UserFilesTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void UserFilesTest::cleanup() {
    m_app.reset();
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void UserFilesTest::aSettingsFileThatIsNotAFileIsSaidAndKept_data() {
    QTest::addColumn<int>("kind");
    for (Hostile kind : allHostileKinds()) {
        QTest::newRow(hostileName(kind)) << static_cast<int>(kind);
    }
}

void UserFilesTest::aSettingsFileThatIsNotAFileIsSaidAndKept() {
    QFETCH(int, kind);
    const auto hostile = static_cast<Hostile>(kind);
    // The link leads to another valid settings file, which must be neither read nor written.
    SettingsRecord other;
    other.speed = 1;
    const fs::path target = work() / "elsewhere.bin";
    QCOMPARE(other.save(target.string()), 0);
    const std::string targetBytes = bytesOf(target);
    if (!makeHostile(hostile, (work() / "config.dat").string(), target.string())) {
        QVERIFY(hostile == Hostile::Device);
        QSKIP("devices cannot be made here");
    }
    start();
    QTRY_VERIFY(status().contains(QStringLiteral("config.dat")));
    QVERIFY2(status().contains(QString::fromLatin1(hostileName(hostile))), qPrintable(status()));
    QCOMPARE(m_view->engine().settings().speed, SettingsRecord{}.speed);

    // Configure's OK keeps the changed settings in use but does not replace the entry.
    m_app->mainFrame()->action(IdConfigure)->trigger();
    QCOMPARE(m_view->engine().settings().speed, 8);
    QVERIFY2(status().contains(QStringLiteral("not saved")), qPrintable(status()));
    QCOMPARE(entryType((work() / "config.dat").string()), expectedEntryType(hostile));
    QCOMPARE(bytesOf(target), targetBytes);
}

void UserFilesTest::anotherUserMayBeChosenAndSavedAfterwards() {
    QVERIFY(makeFifo((work() / "config.dat").string()));
    start();
    QTRY_VERIFY(status().contains(QStringLiteral("named pipe")));
    // Once another user is current, its file is the one Configure writes.
    m_dialogs->profileName = "ann";
    m_app->mainFrame()->action(IdProfile)->trigger();
    QCOMPARE(m_view->engine().userName(), std::string("ann"));
    m_app->mainFrame()->action(IdConfigure)->trigger();
    SettingsRecord saved;
    QCOMPARE(saved.load((work() / "configann.dat").string()), 0);
    QCOMPARE(saved.speed, 8);
    QCOMPARE(entryType((work() / "config.dat").string()), std::string("fifo"));
}

void UserFilesTest::aDocumentThatIsNotARegularFileEndsStartUpAtOnce() {
    for (Hostile kind : {Hostile::Fifo, Hostile::Socket, Hostile::Device, Hostile::Folder}) {
        const fs::path entry = work() / ("doc-" + expectedEntryType(kind));
        if (!makeHostile(kind, entry.string(), "")) {
            QVERIFY(kind == Hostile::Device);
            continue;
        }
        CBrindelApp app([] { return new CBrindelViewWidget(); });
        const Watchdog guard(std::string("opening a ") + hostileName(kind) + " as the document");
        QVERIFY(!app.initInstance({QString::fromStdString(entry.string())}));
        QVERIFY2(app.errorText().contains(QString::fromLatin1(hostileName(kind))),
                 qPrintable(app.errorText()));
        QVERIFY(app.mainFrame() == nullptr);
    }
    // A link to a regular document is followed, as the user named it.
    std::ofstream(work() / "real.tes") << "anything";
    QVERIFY(makeLink((work() / "link.tes").string(), (work() / "real.tes").string()));
    CBrindelApp app([this] {
        ViewDevices devices;
        devices.midi = std::make_unique<RecordingMidi>(m_played);
        return new CBrindelViewWidget(std::move(devices));
    });
    QVERIFY(app.initInstance({QString::fromStdString((work() / "link.tes").string())}));
}

QTEST_MAIN(UserFilesTest)
#include "UserFilesTest.moc"
