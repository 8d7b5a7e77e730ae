#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "model/ProfileSwitch.h"
#include "shell/dialogs/CProfile.h"
#include "shell/dialogs/ModalRunner.h"
#include "support/FakeTemplateStore.h"

using namespace tessimo;
using tessimo::testing::runModal;
namespace fs = std::filesystem;

namespace {

// Every file below root with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string bytes;
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        files[fs::relative(e.path(), root).string()] = bytes;
    }
    return files;
}

} // namespace

class ProfileDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir root_; // holds the working folder, so files written beside it would show
    fs::path dir_;
    SettingsRecord settings_;
    tessimo::testing::FakeTemplateStore recognizer_;

    // A dialog for the working folder whose OK switches users for real.
    void connectSwitch(CProfile& d) {
        d.setSwitch([this](const std::string& name) {
            return switchProfile(dir_.string(), name, settings_, recognizer_);
        });
    }
    QListWidget* list(CProfile& d) {
        return qobject_cast<QListWidget*>(d.control(CProfile::UserList));
    }
    QLineEdit* edit(CProfile& d) { return qobject_cast<QLineEdit*>(d.control(CProfile::NameEdit)); }
    void ok(CProfile& d) { qobject_cast<QPushButton*>(d.control(CProfile::OkButton))->click(); }
    void touch(const std::string& name) { std::ofstream(dir_ / name) << "x"; }

private slots:
    void init() {
        dir_ = fs::path(root_.path().toStdString()) / "work";
        fs::remove_all(dir_);
        fs::create_directory(dir_);
        settings_ = SettingsRecord{};
        recognizer_ = tessimo::testing::FakeTemplateStore{};
    }

    void onlyTheDefaultUserListsNoOne() {
        QCOMPARE(SettingsRecord{}.save((dir_ / "config.dat").string()), 0);
        CProfile d(dir_.string());
        QCOMPARE(d.windowTitle(), QStringLiteral("Profile Dialog"));
        runModal(d, [&] {
            QCOMPARE(list(d)->count(), 0);
            QCOMPARE(edit(d)->text(), QString());
        });
    }

    void usersAreSortedAndChoosingOneLoadsIt() {
        SettingsRecord tenor;
        tenor.speed = 9;
        tenor.instrument = 40;
        QCOMPARE(tenor.save((dir_ / "configtenor.dat").string()), 0);
        touch("configalto.dat");
        CProfile d(dir_.string());
        connectSwitch(d);
        const int result = runModal(d, [&] {
            QCOMPARE(list(d)->count(), 2);
            QCOMPARE(list(d)->item(0)->text(), QStringLiteral("alto"));
            QCOMPARE(list(d)->item(1)->text(), QStringLiteral("tenor"));
            list(d)->setCurrentRow(1);
            QCOMPARE(edit(d)->text(), QStringLiteral("tenor"));
            list(d)->clearSelection();
            QCOMPARE(edit(d)->text(), QString());
            list(d)->setCurrentRow(1);
            ok(d);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(d.userName(), std::string("tenor"));
        QCOMPARE(settings_.speed, 9);
        QCOMPARE(settings_.instrument, 40);
        QVERIFY(!d.lastSwitch().created);
        QCOMPARE(recognizer_.loadedPath, (dir_ / "recordtenor.dat").string());
    }

    void aNewNameIsCreatedWithTheSettingsInForce() {
        settings_.speed = 6;
        settings_.notes.fill(1);
        const SettingsRecord inForce = settings_;
        CProfile d(dir_.string());
        connectSwitch(d);
        runModal(d, [&] {
            QTest::keyClicks(edit(d), QStringLiteral("soprano"));
            ok(d);
        });
        QCOMPARE(d.userName(), std::string("soprano"));
        QVERIFY(d.lastSwitch().created);
        SettingsRecord written;
        written.speed = 0;
        QCOMPARE(written.load((dir_ / "configsoprano.dat").string()), 0);
        QCOMPARE(written, inForce);
        QCOMPARE(settings_, inForce);
    }

    void anEmptyNameReturnsToTheDefaultUser() {
        touch("configalto.dat");
        CProfile d(dir_.string());
        d.setUserName("alto");
        connectSwitch(d);
        runModal(d, [&] {
            QCOMPARE(edit(d)->text(), QStringLiteral("alto"));
            edit(d)->clear();
            ok(d);
        });
        QCOMPARE(d.userName(), std::string());
        QVERIFY(fs::exists(dir_ / "config.dat"));
        QCOMPARE(recognizer_.loadedPath, (dir_ / "record.dat").string());
    }

    void cancelChangesNothing() {
        touch("configalto.dat");
        const auto before = snapshot(root_.path().toStdString());
        CProfile d(dir_.string());
        d.setUserName("alto");
        connectSwitch(d);
        settings_.speed = 5;
        const int result = runModal(d, [&] {
            edit(d)->setText(QStringLiteral("bass"));
            list(d)->setCurrentRow(0);
            qobject_cast<QPushButton*>(d.control(CProfile::CancelButton))->click();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(d.userName(), std::string("alto"));
        QCOMPARE(settings_.speed, 5);
        QVERIFY(recognizer_.calls.empty());
        QVERIFY(snapshot(root_.path().toStdString()) == before);
    }

    void hostileNamesAreRefusedInPlainWords() {
        touch("configalto.dat");
        const auto before = snapshot(root_.path().toStdString());
        const QStringList names = {
            QStringLiteral("../evil"),     QStringLiteral("a/b"),
            QStringLiteral("back\\slash"), QStringLiteral("."),
            QStringLiteral(".."),          QString(QStringLiteral("nul")) + QChar(0) + "x",
            QStringLiteral("tab\there"),   QString(502, QLatin1Char('n')),
            QString(300, QLatin1Char('n'))};
        CProfile d(dir_.string());
        d.setUserName("alto");
        connectSwitch(d);
        const SettingsRecord inForce = settings_;
        runModal(d, [&] {
            auto* message = qobject_cast<QLabel*>(d.control(CProfile::MessageLabel));
            for (const QString& name : names) {
                edit(d)->setText(name);
                ok(d);
                QVERIFY2(d.isVisible(), qPrintable(name.left(20)));
                QVERIFY(message->isVisible());
                QVERIFY(message->text().size() > 10);
            }
            // Typing again hides the old reason.
            QTest::keyClick(edit(d), Qt::Key_A);
            QVERIFY(!message->isVisible());
        });
        QCOMPARE(d.userName(), std::string("alto"));
        QCOMPARE(settings_, inForce);
        QVERIFY(recognizer_.calls.empty());
        QVERIFY(snapshot(root_.path().toStdString()) == before);
    }

    void aRefusedNameIsShownAsTypedNeverAsMarkup() {
        // A folder in the way makes the switch refuse, quoting the file name in its reason.
        const std::string name = "<h1>big<br><img src=x>";
        fs::create_directory(dir_ / ("config" + name + ".dat"));
        CProfile d(dir_.string());
        connectSwitch(d);
        runModal(d, [&] {
            edit(d)->setText(QString::fromStdString(name));
            ok(d);
            auto* message = qobject_cast<QLabel*>(d.control(CProfile::MessageLabel));
            QVERIFY(d.isVisible());
            QCOMPARE(message->textFormat(), Qt::PlainText);
            QVERIFY2(message->text().contains(QString::fromStdString(name)),
                     qPrintable(message->text()));
        });
        QCOMPARE(d.userName(), std::string());
    }

    void withoutASwitchTheNameIsStillChecked() {
        CProfile d(dir_.string());
        runModal(d, [&] {
            edit(d)->setText(QStringLiteral("../x"));
            ok(d);
            QVERIFY(d.isVisible());
            edit(d)->setText(QStringLiteral("bass"));
            ok(d);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(d.userName(), std::string("bass"));
        QVERIFY(fs::is_empty(dir_));
    }
};

QTEST_MAIN(ProfileDialogTest)
#include "ProfileDialogTest.moc"
