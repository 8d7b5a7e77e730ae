// The view says in the status bar, once each, that the sound output was lost when its private
// sound server is killed and that it works again once the server is back.
#include "shell/CBrindelViewWidget.h"
#include "sound/PrivateSoundServer.h"
#include "sound/SoundFontLocator.h"
#include "sound/SoundOutput.h"

#include <QSignalSpy>
#include <QTest>

using namespace tessimo;

class SoundStatusTest : public QObject {
    Q_OBJECT
private slots:
    void lossAndReturnAreSaidOnceEach();
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
    // A working output says nothing at start; the stream runs for its first seconds.
    QTest::qWait(1000);
    QCOMPARE(said.count(), 0);

    QVERIFY(server.kill());
    QTRY_COMPARE_WITH_TIMEOUT(said.count(), 1, 5000);
    QCOMPARE(said.at(0).at(0).toString(), QString(SoundOutput::LostMessage));
    QVERIFY(server.restart(reason));
    QTRY_COMPARE_WITH_TIMEOUT(said.count(), 2, 8000);
    QCOMPARE(said.at(1).at(0).toString(), QString(SoundOutput::BackMessage));
    QTest::qWait(600);
    QCOMPARE(said.count(), 2);
}

QTEST_MAIN(SoundStatusTest)
#include "SoundStatusTest.moc"
