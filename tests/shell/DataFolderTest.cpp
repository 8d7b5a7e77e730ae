// Where the users' files go: the desktop entry's option picks the data folder, created for
// its owner only on first start; without it the working directory stays.
#include "shell/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tessimo;

class DataFolderTest : public QObject {
    Q_OBJECT

private slots:
    void theOptionIsTakenOutOfTheArguments() {
        const StartArguments none = parseStartArguments({});
        QVERIFY(!none.dataFolder);
        QVERIFY(none.rest.isEmpty());
        const StartArguments document = parseStartArguments({QStringLiteral("lesson.tes")});
        QVERIFY(!document.dataFolder);
        QCOMPARE(document.rest, QStringList{QStringLiteral("lesson.tes")});
        const StartArguments both =
            parseStartArguments({QStringLiteral("--data-folder"), QStringLiteral("lesson.tes")});
        QVERIFY(both.dataFolder);
        QCOMPARE(both.rest, QStringList{QStringLiteral("lesson.tes")});
    }

    void theFolderFollowsTheDataHome() {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        QCOMPARE(userDataFolder(), QDir(home.path()).filePath(QStringLiteral("tessimo")));
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(userDataFolder(), QDir::homePath() + QStringLiteral("/.local/share/tessimo"));
    }

    void enteringCreatesTheFolderOnce() {
        const QString before = QDir::currentPath();
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("share/tessimo"));
        QCOMPARE(enterDataFolder(folder), QString());
        QCOMPARE(QDir::currentPath(), folder);
        QCOMPARE(QFile::permissions(folder) & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        // A file of the user's there stays on the next start.
        QFile kept(QStringLiteral("configanna.dat"));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();
        QDir::setCurrent(before);
        QCOMPARE(enterDataFolder(folder), QString());
        QVERIFY(QFile::exists(QStringLiteral("configanna.dat")));
        QDir::setCurrent(before);
    }

    void aFileInTheWayIsSaidAndNothingMoves() {
        const QString before = QDir::currentPath();
        QTemporaryDir root;
        const QString path = root.filePath(QStringLiteral("tessimo"));
        QFile blocker(path);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString problem = enterDataFolder(path);
        QVERIFY(problem.contains(QStringLiteral("is not a folder")));
        QCOMPARE(QDir::currentPath(), before);
        QVERIFY(!enterDataFolder(path + QStringLiteral("/below")).isEmpty());
        QCOMPARE(QDir::currentPath(), before);
    }
};

QTEST_GUILESS_MAIN(DataFolderTest)
#include "DataFolderTest.moc"
