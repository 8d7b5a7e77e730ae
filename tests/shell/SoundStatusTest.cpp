// The view says in the status bar, once each, that the sound output was lost when its private
// sound server is killed and that it works again once the server is back; and it closes at
// once while the server is stopped; a server stopped at start is said too.
#include "shell/CBrindelViewWidget.h"
#include "sound/PrivateSoundServer.h"
#include "sound/SoundFontLocator.h"
#include "sound/SoundOutput.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace tessimo;

class SoundStatusTest : public QObject {
    Q_OBJECT
private slots:
    void lossAndReturnAreSaidOnceEach();
    void closesAtOnceWhileTheServerIsStopped();
    void aServerStoppedAtStartIsSaidAndSoIsItsReturn();
};

void SoundStatusTest::lossAndReturnAreSaidOnceEach() {
    if (findGeneralMidiSoundFont().empty())
        QFAIL(NoSoundFontReason);
    test::PrivateSoundServer server;
    std::string reason;
    if (!server.start(reason))
        QSKIP(qPrintable(QString::fromStdString("no private sound server: " + reason)));

    CBrindelViewWidget view;
    QSignalSpy said(&view, &CommandView::statusMessage);
    view.resize(800, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // A working output says nothing at start, unless start-up was slow (as under a sanitizer);
    // the stream runs for its first seconds.
    const auto* output = dynamic_cast<const SoundOutput*>(&view.midi());
    QVERIFY(output != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(output->isReady(), 20000);
    QTest::qWait(200);
    const int atStart = static_cast<int>(said.count());
    if (atStart != 0) {
        QCOMPARE(atStart, 2);
        QCOMPARE(said.at(0).at(0).toString(), QString(SoundOutput::StalledMessage));
        QCOMPARE(said.at(1).at(0).toString(), QString(SoundOutput::LateReadyMessage));
    }

    QVERIFY(server.kill());
    QTRY_COMPARE_WITH_TIMEOUT(said.count(), atStart + 1, 5000);
    QCOMPARE(said.at(atStart).at(0).toString(), QString(SoundOutput::LostMessage));
    QVERIFY(server.restart(reason));
    QTRY_COMPARE_WITH_TIMEOUT(said.count(), atStart + 2, 8000);
    QCOMPARE(said.at(atStart + 1).at(0).toString(), QString(SoundOutput::BackMessage));
    QTest::qWait(600);
    QCOMPARE(said.count(), atStart + 2);
}

void SoundStatusTest::closesAtOnceWhileTheServerIsStopped() {
    test::PrivateSoundServer server;
    std::string reason;
    if (!server.start(reason))
        QSKIP(qPrintable(QString::fromStdString("no private sound server: " + reason)));
    auto view = std::make_unique<CBrindelViewWidget>();
    view->resize(800, 400);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    const auto* output = dynamic_cast<const SoundOutput*>(&view->midi());
    QVERIFY(output != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(output->isReady(), 20000);
    QVERIFY(server.stop());
    QTest::qWait(300);
    QElapsedTimer closing;
    closing.start();
    view.reset();
    const qint64 took = closing.elapsed();
    qInfo("the view closed in %lld ms with its sound server stopped", static_cast<long long>(took));
    QVERIFY(took < 400);
    QVERIFY(server.resume());
}

void SoundStatusTest::aServerStoppedAtStartIsSaidAndSoIsItsReturn() {
    test::PrivateSoundServer server;
    std::string reason;
    if (!server.start(reason))
        QSKIP(qPrintable(QString::fromStdString("no private sound server: " + reason)));
    QVERIFY(server.stop());
    CBrindelViewWidget view;
    QSignalSpy said(&view, &CommandView::statusMessage);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_COMPARE_WITH_TIMEOUT(said.count(), 1, 6000);
    QCOMPARE(said.at(0).at(0).toString(), QString(SoundOutput::StalledMessage));
    QVERIFY(server.resume());
    QTRY_COMPARE_WITH_TIMEOUT(said.count(), 2, 20000);
    QCOMPARE(said.at(1).at(0).toString(), QString(SoundOutput::LateReadyMessage));
}

QTEST_MAIN(SoundStatusTest)
#include "SoundStatusTest.moc"
