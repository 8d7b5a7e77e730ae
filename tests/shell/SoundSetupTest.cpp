// The sound set-up dialog through its widgets, against a private sound server with a virtual
// microphone and two virtual speakers: the meter follows what is played into the microphone,
// takes get their verdicts, choosing the second speaker moves the sound there, a device that
// fails leaves the sound where it was, and a chosen device that goes away gives way to the
// default one.
#include "audio_devices/LevelAnalysis.h"
#include "audio_devices/PortAudioCapture.h"
#include "shell/CBrindelViewWidget.h"
#include "shell/CommandTable.h"
#include "shell/SoundSetupDialog.h"
#include "sound/PrivateSoundServer.h"
#include "sound/SoundFontLocator.h"
#include "sound/SoundOutput.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

using namespace tessimo;

namespace {

constexpr double Rate = 22000;
constexpr const char* SecondDevice = "tessimo_second";
// A device the dialog listed once and that has gone since. (A device defined with nothing
// behind it fails only when its stream starts, a path on which the audio library itself can
// deadlock under load; the program keeps that off the user-interface thread.)
constexpr const char* GhostDevice = "tessimo_ghost";

// A 440 Hz sine at sineDb (peak, dBFS) over white noise at noiseDb (rms, dBFS).
std::vector<std::int16_t> sound(double seconds, double sineDb, double noiseDb) {
    std::mt19937 random(3);
    std::normal_distribution<double> gauss(0.0, 1.0);
    const double sine = sineDb <= SilenceDb ? 0 : 32767.0 * std::pow(10.0, sineDb / 20);
    const double noise = noiseDb <= SilenceDb ? 0 : 32768.0 * std::pow(10.0, noiseDb / 20);
    std::vector<std::int16_t> out(static_cast<std::size_t>(seconds * Rate));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double v =
            sine * std::sin(2 * M_PI * 440 * static_cast<double>(i) / Rate) + noise * gauss(random);
        out[i] = static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
    }
    return out;
}

double peak(const std::vector<float>& samples) {
    float largest = 0;
    for (float s : samples)
        largest = std::max(largest, std::fabs(s));
    return largest;
}

} // namespace

class SoundSetupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void meterFollowsTheMicrophoneAndWarnsOfClipping();
    void takesAreJudgedQuietNoisyOrGood();
    void choosingTheSecondSpeakerMovesTheSoundThere();
    void aDeviceThatFailsLeavesTheSoundWhereItWas();
    void aChosenDeviceThatGoesAwayGivesWayToTheDefault();
    void theViewAppliesAndKeepsTheUsersChoices();

private:
    // Clicks the test sound and returns the peaks heard on the two speakers meanwhile.
    std::pair<double, double> playAndListen();
    void choose(QComboBox* combo, const QString& name);

    std::unique_ptr<test::PrivateSoundServer> m_server;
    std::unique_ptr<SoundOutput> m_output;
    std::unique_ptr<PortAudioCapture> m_recognizerCapture;
    std::unique_ptr<SoundSetupDialog> m_dialog;
};

void SoundSetupTest::initTestCase() {
    if (findGeneralMidiSoundFont().empty())
        QFAIL(NoSoundFontReason);
    m_server = std::make_unique<test::PrivateSoundServer>();
    std::string reason;
    if (!m_server->start(reason))
        QSKIP(qPrintable(QString::fromStdString("no private sound server: " + reason)));
    // Before the audio library first starts: it reads its device list then.
    QVERIFY(m_server->addSinkDevice("speaker2", SecondDevice));
    m_output = std::make_unique<SoundOutput>();
    QTRY_VERIFY_WITH_TIMEOUT(m_output->isReady(), 60000);
    m_recognizerCapture = std::make_unique<PortAudioCapture>();
    m_dialog = std::make_unique<SoundSetupDialog>(m_output.get(), *m_output,
                                                  m_recognizerCapture.get(), SoundChoices{});
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void SoundSetupTest::cleanupTestCase() {
    m_dialog.reset();
    m_recognizerCapture.reset();
    m_output.reset();
    m_server.reset();
}

void SoundSetupTest::meterFollowsTheMicrophoneAndWarnsOfClipping() {
    auto* meter = m_dialog->findChild<QProgressBar*>("meter");
    auto* clipping = m_dialog->findChild<QLabel*>("clipping");
    QVERIFY(meter != nullptr && clipping != nullptr);
    // Nothing played: the virtual microphone delivers digital silence.
    QTest::qWait(800);
    QVERIFY2(m_dialog->meterLevelDb() < -80, qPrintable(QString::number(m_dialog->meterLevelDb())));
    QCOMPARE(meter->value(), meter->minimum());

    QVERIFY(m_server->play(sound(2.0, -12, SilenceDb)));
    QTRY_VERIFY_WITH_TIMEOUT(m_dialog->meterLevelDb() > -18, 5000);
    QVERIFY(meter->value() > -15);
    QVERIFY(!clipping->isVisible());
    m_server->waitForPlayers();
    QTRY_VERIFY_WITH_TIMEOUT(m_dialog->meterLevelDb() < -80, 5000);

    QVERIFY(m_server->play(sound(1.0, 0, SilenceDb)));
    QTRY_VERIFY_WITH_TIMEOUT(clipping->isVisible(), 5000);
    m_server->waitForPlayers();
    QTRY_VERIFY_WITH_TIMEOUT(!clipping->isVisible(), 8000); // held a moment, then gone
}

void SoundSetupTest::takesAreJudgedQuietNoisyOrGood() {
    auto* button = m_dialog->findChild<QPushButton*>("testVoice");
    auto* result = m_dialog->findChild<QLabel*>("takeResult");
    QVERIFY(button != nullptr && result != nullptr);
    struct Take {
        double wordDb;
        double roomDb;
        const char* verdict;
    };
    for (const Take& take :
         {Take{-50, -75, "too quiet"}, Take{-14, -26, "too noisy"}, Take{-12, -60, ": good."}}) {
        // The room's noise runs through the whole take; the word comes in its middle.
        QVERIFY(m_server->play(sound(6.0, SilenceDb, take.roomDb)));
        QTest::qWait(600);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isEnabled());
        QTest::qWait(1000);
        QVERIFY(m_server->play(sound(0.6, take.wordDb, SilenceDb)));
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 30000);
        QVERIFY2(result->text().contains(take.verdict), qPrintable(result->text()));
        m_server->stopPlayers();
    }
    // The manual's picture of the dialog: the last verdict shown, a voice on the meter.
    const QByteArray pictures = qgetenv("TESSIMO_SCREENSHOT_DIR");
    if (!pictures.isEmpty()) {
        QVERIFY(m_server->play(sound(2.0, -18, -60)));
        QTest::qWait(700);
        QVERIFY(m_dialog->grab().save(QString::fromLocal8Bit(pictures) + "/sound-setup.png"));
        m_server->stopPlayers();
    }
}

void SoundSetupTest::choose(QComboBox* combo, const QString& name) {
    const int index = combo->findData(name);
    QVERIFY2(index >= 0, qPrintable(name));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

std::pair<double, double> SoundSetupTest::playAndListen() {
    m_server->startRecording();
    m_server->startRecordingOf("speaker2.monitor");
    QTest::qWait(300);
    QTest::mouseClick(m_dialog->findChild<QPushButton*>("testSound"), Qt::LeftButton);
    QTest::qWait(3000);
    const auto secondHeard = m_server->stopRecordingOf("speaker2.monitor");
    const auto firstHeard = m_server->stopRecording();
    const double second = peak(secondHeard);
    const double first = peak(firstHeard);
    return {first, second};
}

// Sounds are heard for 3 s after the click: a device's first sound after a switch can come a
// second late, and the tail of an earlier chord must not count for the next listen.
void SoundSetupTest::choosingTheSecondSpeakerMovesTheSoundThere() {
    auto* outputs = m_dialog->findChild<QComboBox*>("outputDevice");
    QVERIFY(outputs != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(outputs->findData(QString(SecondDevice)) >= 0, 30000);

    const auto [before, beforeSecond] = playAndListen();
    QVERIFY2(before > 0.05 && beforeSecond < 0.001,
             qPrintable(QStringLiteral("%1 %2").arg(before).arg(beforeSecond)));

    choose(outputs, SecondDevice);
    QTRY_COMPARE_WITH_TIMEOUT(m_output->deviceName(), std::string(SecondDevice), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(outputs->isEnabled(), 30000);
    QCOMPARE(m_dialog->choices().outputDevice, std::string(SecondDevice));
    const auto [first, second] = playAndListen();
    QVERIFY2(second > 0.05 && first < 0.001,
             qPrintable(QStringLiteral("%1 %2").arg(first).arg(second)));
    auto* latency = m_dialog->findChild<QLabel*>("latency");
    QVERIFY2(latency->text().contains(" ms"), qPrintable(latency->text()));

    // The volume slider scales what is heard: at 0 nothing.
    auto* volume = m_dialog->findChild<QSlider*>("volume");
    volume->setValue(0);
    QCOMPARE(m_output->volumePercent(), 0);
    QTest::qWait(2000); // what was played before has died away
    const auto [mutedFirst, mutedSecond] = playAndListen();
    QVERIFY2(mutedSecond < 0.001, qPrintable(QString::number(mutedSecond)));
    Q_UNUSED(mutedFirst);
    volume->setValue(70);
    QCOMPARE(m_dialog->choices().volumePercent, 70);
}

void SoundSetupTest::aDeviceThatFailsLeavesTheSoundWhereItWas() {
    QSignalSpy said(m_dialog.get(), &SoundSetupDialog::statusMessage);
    bool answered = false;
    bool switched = true;
    std::string message;
    m_output->chooseDevice(GhostDevice, [&](bool ok, const std::string& why) {
        QMetaObject::invokeMethod(
            this,
            [&, ok, why] {
                answered = true;
                switched = ok;
                message = why;
            },
            Qt::QueuedConnection);
    });
    QTRY_VERIFY_WITH_TIMEOUT(answered, 30000);
    QVERIFY(!switched);
    QVERIFY2(message.find(std::string("stays on \"") + SecondDevice + "\"") != std::string::npos,
             message.c_str());
    QCOMPARE(m_output->deviceName(), std::string(SecondDevice));
    const auto [first, second] = playAndListen();
    QVERIFY2(second > 0.05, qPrintable(QString::number(second)));
    Q_UNUSED(first);
}

void SoundSetupTest::aChosenDeviceThatGoesAwayGivesWayToTheDefault() {
    QCOMPARE(m_output->deviceName(), std::string(SecondDevice));
    QVERIFY(m_server->removeSink("speaker2"));
    // Whether the stream on the vanished device was running (it ends, and the output
    // reconnects) or idle (the next note wakes it), the sound comes out of the default device.
    auto heard = playAndListen();
    if (heard.first < 0.05) {
        QTRY_VERIFY_WITH_TIMEOUT(m_output->isReady(), 45000);
        heard = playAndListen();
    }
    QVERIFY2(heard.first > 0.05, qPrintable(QString::number(heard.first)));
    // A stream that was running may have been moved to the default sink by the server itself;
    // the next stream the output opens (after it has gone idle) is on the default device, and
    // the output says so.
    QTRY_VERIFY_WITH_TIMEOUT(
        m_output->isReady() && (m_output->isIdle() || m_output->deviceName().empty()), 90000);
    heard = playAndListen();
    QVERIFY2(heard.first > 0.05, qPrintable(QString::number(heard.first)));
    QCOMPARE(m_output->deviceName(), std::string());
    QVERIFY2(m_output->statusMessage().find("default device") != std::string::npos,
             m_output->statusMessage().c_str());
}

// The view gives the output the volume and device of the user's preferences file at start,
// and the dialog's changes are written back there (and nowhere else: no settings file).
void SoundSetupTest::theViewAppliesAndKeepsTheUsersChoices() {
    m_dialog.reset();
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const QByteArray spoilt = "not a preferences file\n";
    {
        QFile prefs(QStringLiteral("prefs.ini"));
        QVERIFY(prefs.open(QIODevice::WriteOnly));
        prefs.write("tessimo-preferences 1\nsound.volume = 40\nsound.input = \"pulse\"\n"
                    "staff.colour = navy\n");
    }
    {
        CBrindelViewWidget view;
        const auto* output = dynamic_cast<const SoundOutput*>(&view.midi());
        QVERIFY(output != nullptr);
        QCOMPARE(output->volumePercent(), 40);
        QTRY_VERIFY_WITH_TIMEOUT(output->isReady(), 60000);

        bool sawDialog = false;
        QTimer::singleShot(300, &view, [&] {
            SoundSetupDialog* dialog = view.soundSetupDialog();
            if (dialog == nullptr)
                return;
            sawDialog = true;
            QCOMPARE(dialog->findChild<QSlider*>("volume")->value(), 40);
            QCOMPARE(dialog->choices().inputDevice, std::string("pulse"));
            dialog->findChild<QSlider*>("volume")->setValue(85);
            dialog->accept();
        });
        view.runCommand(IdSoundSetup);
        QVERIFY(sawDialog);
        QCOMPARE(output->volumePercent(), 85);
        {
            QFile prefs(QStringLiteral("prefs.ini"));
            QVERIFY(prefs.open(QIODevice::ReadOnly));
            const QByteArray text = prefs.readAll();
            QVERIFY2(text.contains("sound.volume = 85\n"), text.constData());
            QVERIFY2(text.contains("sound.input = \"pulse\"\n"), text.constData());
            QVERIFY2(text.contains("staff.colour = navy\n"), text.constData());
        }

        // The file is spoilt while the program runs: the dialog still shows what plays, the
        // new choice holds for the session and is said not to be saved, and the spoilt file
        // is left for the user to look at.
        {
            QFile prefs(QStringLiteral("prefs.ini"));
            QVERIFY(prefs.open(QIODevice::WriteOnly | QIODevice::Truncate));
            prefs.write(spoilt);
        }
        QSignalSpy said(&view, &CommandView::statusMessage);
        int shownVolume = -1;
        QTimer::singleShot(300, &view, [&] {
            SoundSetupDialog* dialog = view.soundSetupDialog();
            if (dialog == nullptr)
                return;
            shownVolume = dialog->findChild<QSlider*>("volume")->value();
            dialog->findChild<QSlider*>("volume")->setValue(55);
            dialog->accept();
        });
        view.runCommand(IdSoundSetup);
        QCOMPARE(shownVolume, 85);
        QCOMPARE(output->volumePercent(), 55);
        QVERIFY(!said.isEmpty());
        QVERIFY2(said.last().at(0).toString().contains(QStringLiteral("prefs.ini")),
                 qPrintable(said.last().at(0).toString()));
        QTimer::singleShot(300, &view, [&] {
            if (SoundSetupDialog* dialog = view.soundSetupDialog()) {
                shownVolume = dialog->findChild<QSlider*>("volume")->value();
                dialog->reject();
            }
        });
        view.runCommand(IdSoundSetup);
        QCOMPARE(shownVolume, 55);
    }
    QFile prefs(QStringLiteral("prefs.ini"));
    QVERIFY(prefs.open(QIODevice::ReadOnly));
    QCOMPARE(prefs.readAll(), spoilt);
    QVERIFY(!QFile::exists(QStringLiteral("config.dat")));
    QDir::setCurrent(previous);
}

QTEST_MAIN(SoundSetupTest)
#include "SoundSetupTest.moc"
