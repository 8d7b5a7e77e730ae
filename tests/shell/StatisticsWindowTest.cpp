// The statistics window through its real widgets on the offscreen platform, over a history
// file whose rows the test writes itself: the numbers and colours on the heat map, the
// filters, the confusions, the chart and the export. It also writes the window's picture to
// build/screenshots/statistics-window.png.
#include "shell/statistics/StatisticsWindow.h"
#include "geometry/KeyboardGeometry.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryTestSupport.h"
#include "model/Pitch.h"
#include "shell/statistics/DailyChartWidget.h"
#include "shell/statistics/HeatMapWidget.h"
#include "statistics/HeatMap.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

using namespace tessimo;
using namespace tessimo::testing;

namespace {

constexpr std::int64_t Hour = 3600000;
constexpr std::int64_t Day = 24 * Hour;
constexpr std::int64_t Now = 1772409600000 + 12 * Hour; // 2026-03-02 12:00 UTC

// Per pitch, what the rows say, counted here rather than by the program.
struct Expected {
    int asked = 0;
    int right = 0;
    std::vector<int> times; // of the right answers
    int percent() const { return (200 * right + asked) / (2 * asked); }
    int medianMs() const {
        std::vector<int> t = times;
        std::sort(t.begin(), t.end());
        return t.empty() ? -1 : t[(t.size() - 1) / 2];
    }
};

// A key's own colour shows here: low on a white key, below its black neighbours and above
// its number; in the middle of a black key.
QPoint keySample(const HeatMapWidget& map, int pitch) {
    const KeyRect key = keyRect(pitch);
    const bool black = isBlackKey(pitch);
    const double x = (key.left + key.right) / 2.0;
    const double y = black ? (key.top + key.bottom) / 2.0 : BlackKeyBottom + 60;
    return QPoint(static_cast<int>(x * map.width() / 2000),
                  static_cast<int>(y * map.height() / 3200));
}

QRgb expectedColour(double heat) {
    const HeatRgb c = heatColour(heat);
    return qRgb(c.red, c.green, c.blue);
}

} // namespace

class StatisticsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void heatMapShowsTheRowsNumbers();
    void filtersChooseTheRows();
    void confusionsChartAndExport();
    void missingHistorySaysWhereItWillBe();
    void weakSpotOptionGoesThroughItsSetter();
    void screenshot();

private:
    StatisticsSource source() const {
        StatisticsSource s;
        s.userName = QStringLiteral("alto");
        s.historyPath = m_path;
        s.convention = 1; // letters
        s.now = [] { return Now; };
        return s;
    }

    std::unique_ptr<TimeZone> m_zone;
    std::unique_ptr<TempFolder> m_folder;
    std::string m_path;
    std::vector<AnswerOutcome> m_rows;
};

void StatisticsWindowTest::init() {
    m_zone = std::make_unique<TimeZone>("UTC");
    m_folder = std::make_unique<TempFolder>();
    m_path = m_folder->file("historyalto.sqlite");
    m_rows.clear();
    // Three weeks of practice: Notes Dictation by mouse over C4..C5 with its sharps, low and
    // high notes and the sharps missed more often; Recognize by voice on a few notes.
    std::mt19937 random(7);
    for (int day = 20; day >= 0; --day) {
        for (int i = 0; i < 30; ++i) {
            const int pitch = 60 + static_cast<int>(random() % 13);
            const int difficulty = (isBlackKey(pitch) ? 30 : 0) + std::abs(pitch - 66) * 4;
            const int roll = static_cast<int>(random() % 100);
            const Outcome outcome = roll < 5                ? Outcome::Missed
                                    : roll < 5 + difficulty ? Outcome::Wrong
                                                            : Outcome::Right;
            const int given = outcome == Outcome::Missed  ? -1
                              : outcome == Outcome::Wrong ? pitch + (pitch % 2 == 0 ? 2 : -1)
                                                          : pitch;
            m_rows.push_back(note(pitch, given, outcome, 600 + static_cast<int>(random() % 2400),
                                  Exercise::NotesDictation, AnswerInput::Mouse,
                                  Now - day * Day - Hour + i * 1000));
        }
        for (int pitch : {62, 64, 67}) {
            AnswerOutcome a =
                note(pitch, pitch == 64 ? 65 : pitch, pitch == 64 ? Outcome::Wrong : Outcome::Right,
                     900, Exercise::Recognize, AnswerInput::Voice, Now - day * Day - 2 * Hour);
            a.pitchClassOnly = true;
            m_rows.push_back(a);
        }
    }
    HistoryProblem problem;
    HistoryDatabase db = HistoryDatabase::open(m_path, HistoryDatabase::Access::ReadWrite, problem);
    QVERIFY2(db.isOpen(), problem.message.c_str());
    QVERIFY2(db.insert(m_rows, problem), problem.message.c_str());
}

void StatisticsWindowTest::cleanup() {
    m_folder.reset();
    m_zone.reset();
}

void StatisticsWindowTest::heatMapShowsTheRowsNumbers() {
    std::map<int, Expected> expected;
    for (const AnswerOutcome& row : m_rows) {
        Expected& e = expected[row.expected.pitches[0]];
        ++e.asked;
        if (row.outcome == Outcome::Right) {
            ++e.right;
            e.times.push_back(row.answerMs);
        }
    }

    StatisticsWindow window(source());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    HeatMapWidget* map = window.heatMap();
    const QImage image = map->grab().toImage();
    QCOMPARE(static_cast<int>(map->cells().size()), 13);

    int keyLabels = 0;
    for (const HeatMapWidget::DrawnLabel& label : map->drawnLabels()) {
        QVERIFY2(expected.count(label.pitch) == 1, qPrintable(QString::number(label.pitch)));
        QCOMPARE(label.text, QStringLiteral("%1%").arg(expected[label.pitch].percent()));
        QVERIFY(map->rect().contains(label.rect.toRect()));
        keyLabels += label.onKey ? 1 : 0;
    }
    QCOMPARE(keyLabels, 13);
    for (const auto& [pitch, e] : expected) {
        // The key's colour is the colour of its share right.
        const QPoint at = keySample(*map, pitch);
        const double heat = static_cast<double>(e.right) / e.asked;
        const QRgb seen = image.pixel(at * image.devicePixelRatio());
        const QRgb wanted = expectedColour(heat);
        QVERIFY2(std::abs(qRed(seen) - qRed(wanted)) <= 2 &&
                     std::abs(qGreen(seen) - qGreen(wanted)) <= 2 &&
                     std::abs(qBlue(seen) - qBlue(wanted)) <= 2,
                 qPrintable(QStringLiteral("pitch %1: %2 instead of %3")
                                .arg(pitch)
                                .arg(QColor(seen).name(), QColor(wanted).name())));
        // Its tool tip says the counts.
        QVERIFY2(map->descriptionAt(at).contains(
                     QStringLiteral("%1 of %2 right").arg(e.right).arg(e.asked)),
                 qPrintable(map->descriptionAt(at)));
    }

    // By answer time the numbers are the medians of the right answers.
    window.measureBox()->setCurrentIndex(1);
    map->grab();
    for (const HeatMapWidget::DrawnLabel& label : map->drawnLabels()) {
        const int median = expected[label.pitch].medianMs();
        const int tenths = (median + 50) / 100;
        QCOMPARE(label.text, QStringLiteral("%1.%2 s").arg(tenths / 10).arg(tenths % 10));
    }
}

void StatisticsWindowTest::filtersChooseTheRows() {
    StatisticsWindow window(source());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.exerciseBox()->setCurrentIndex(4); // Recognize
    QCOMPARE(window.report().choice.exercise, Exercise::Recognize);
    std::vector<int> pitches;
    for (const HeatCell& cell : window.heatMap()->cells()) {
        pitches.push_back(cell.pitch);
    }
    QCOMPARE(pitches, (std::vector<int>{62, 64, 67}));
    QCOMPARE(window.heatMap()->cells()[1].label, std::string("0%"));

    // Recognize answers came by voice, none by mouse.
    window.inputBox()->setCurrentIndex(1); // mouse
    QVERIFY(window.heatMap()->cells().empty());
    window.inputBox()->setCurrentIndex(2); // voice
    QCOMPARE(window.heatMap()->cells().size(), std::size_t{3});

    // The last week: seven days of three Recognize answers.
    window.periodBox()->setCurrentIndex(0);
    QCOMPARE(window.chart()->series().points.size(), std::size_t{7});
    QCOMPARE(window.chart()->series().answers, 21);
    QCOMPARE(window.heatMap()->cells()[0].asked, 7);
}

void StatisticsWindowTest::confusionsChartAndExport() {
    StatisticsWindow window(source());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The most frequent wrong answer, counted here.
    std::map<std::pair<int, int>, int> wrong;
    for (const AnswerOutcome& row : m_rows) {
        if (row.outcome == Outcome::Wrong && row.exercise == Exercise::NotesDictation) {
            ++wrong[{row.expected.pitches[0], row.given.pitches[0]}];
        }
    }
    const auto most =
        std::max_element(wrong.begin(), wrong.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    QTreeWidget* list = window.confusionList();
    QVERIFY(list->topLevelItemCount() > 0);
    QCOMPARE(list->topLevelItem(0)->text(1).toInt(), most->second);
    QVERIFY2(list->topLevelItem(0)->text(0).contains(QStringLiteral(" placed as ")),
             qPrintable(list->topLevelItem(0)->text(0)));
    // The spoken ones are named without octave: "E heard as F" would be a dictation; in
    // Recognize it reads.
    bool spoken = false;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        spoken = spoken || list->topLevelItem(i)->text(0) == QStringLiteral("E read as F");
    }
    QVERIFY(spoken);

    // Four weeks of days, the last 21 practised, each with its answers.
    const DailySeries& series = window.chart()->series();
    QCOMPARE(series.points.size(), std::size_t{28});
    QCOMPARE(series.practisedDays, 21);
    QCOMPARE(series.answers, static_cast<int>(m_rows.size()));
    QVERIFY(window.chart()->barRect(27).height() > 0);
    QVERIFY(window.chart()->barRect(0).isEmpty());
    QVERIFY(window.chart()
                ->descriptionAt(window.chart()->barRect(27).center().toPoint())
                .contains(QStringLiteral("33 answers")));

    const QString out = QString::fromStdString(m_folder->file("answers.csv"));
    QString error;
    QVERIFY2(window.exportTo(out, &error), qPrintable(error));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), static_cast<int>(m_rows.size()) + 2); // header, rows, empty end
    QVERIFY(lines[0].startsWith("time,user,exercise"));
    // A folder in the way: refused with a reason, nothing lost.
    QVERIFY(QDir().mkpath(QString::fromStdString(m_folder->file("taken.csv"))));
    QVERIFY(!window.exportTo(QString::fromStdString(m_folder->file("taken.csv")), &error));
    QVERIFY(!error.isEmpty());
}

void StatisticsWindowTest::missingHistorySaysWhereItWillBe() {
    StatisticsSource s = source();
    s.historyPath = m_folder->file("historynobody.sqlite");
    StatisticsWindow window(s);
    QVERIFY(window.heatMap()->cells().empty());
    QVERIFY(window.summaryText().contains(QStringLiteral("historynobody.sqlite")));
    QVERIFY(!window.exportButton()->isEnabled());
    QVERIFY(!QFile::exists(QString::fromStdString(s.historyPath))); // nothing created

    // A file that is not a history: said, and left as it is.
    const std::string foreign = m_folder->file("historyother.sqlite");
    writeBytes(foreign, Bytes{'n', 'o', 't', ' ', 'a', ' ', 'd', 'b'});
    s.historyPath = foreign;
    window.setSource(s);
    QVERIFY(window.summaryText().contains(QStringLiteral("historyother.sqlite")));
    QCOMPARE(readBytes(foreign), (Bytes{'n', 'o', 't', ' ', 'a', ' ', 'd', 'b'}));
}

void StatisticsWindowTest::weakSpotOptionGoesThroughItsSetter() {
    bool stored = true;
    QString refusal;
    StatisticsSource s = source();
    s.weakSpotPractice = [&] { return stored; };
    s.setWeakSpotPractice = [&](bool on) {
        if (refusal.isEmpty()) {
            stored = on;
        }
        return refusal;
    };
    StatisticsWindow window(s);
    QVERIFY(window.weakSpotBox()->isChecked());
    window.weakSpotBox()->setChecked(false);
    QVERIFY(!stored);
    // A refused save puts the box back (the message box is closed by the test).
    refusal = QStringLiteral("The preferences file cannot be written.");
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    window.weakSpotBox()->setChecked(true);
    QVERIFY(!window.weakSpotBox()->isChecked());
    QVERIFY(!stored);
}

void StatisticsWindowTest::screenshot() {
    StatisticsSource s = source();
    bool on = true;
    s.weakSpotPractice = [&] { return on; };
    s.setWeakSpotPractice = [&](bool value) {
        on = value;
        return QString();
    };
    StatisticsWindow window(s);
    window.resize(1000, 720);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString folder = QStringLiteral(TESSIMO_SCREENSHOT_DIR);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(window.grab().save(folder + QStringLiteral("/statistics-window.png")));
}

QTEST_MAIN(StatisticsWindowTest)
#include "StatisticsWindowTest.moc"
