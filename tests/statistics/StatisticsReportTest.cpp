#include <gtest/gtest.h>

#include <vector>

#include "history/HistoryDatabase.h"
#include "history/HistoryQueries.h"
#include "history/HistoryTestSupport.h"
#include "model/NoteNames.h"
#include "statistics/DailySeries.h"
#include "statistics/HeatMap.h"
#include "statistics/StatisticsChoice.h"
#include "statistics/StatisticsReport.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

constexpr std::int64_t Hour = 3600000;
constexpr std::int64_t Day = 24 * Hour;
// 2026-03-02 00:00 UTC, a Monday.
constexpr std::int64_t Monday = 1772409600000;

PitchStatistics stats(int pitch, int right, int wrong, int missed, int medianMs) {
    PitchStatistics p;
    p.pitch = pitch;
    p.right = right;
    p.wrong = wrong;
    p.missed = missed;
    p.medianAnswerMs = medianMs;
    return p;
}

TEST(HeatCells, NumbersAndTextsByAccuracyAndByAnswerTime) {
    EXPECT_EQ(percentRight(2, 3), 67);
    EXPECT_EQ(percentRight(1, 8), 13); // 12.5 rounds up
    EXPECT_EQ(percentRight(0, 0), 0);
    EXPECT_EQ(secondsText(1449), "1.4 s");
    EXPECT_EQ(secondsText(1450), "1.5 s");
    EXPECT_EQ(secondsText(-1), "-");

    const std::vector<PitchStatistics> pitches = {stats(60, 9, 1, 0, 800), stats(62, 1, 2, 1, 2000),
                                                  stats(64, 0, 3, 0, -1), stats(65, 3, 0, 0, 1400)};
    const std::vector<HeatCell> accuracy = heatCells(pitches, HeatMeasure::Accuracy);
    ASSERT_EQ(accuracy.size(), 4u);
    EXPECT_EQ(accuracy[0].label, "90%");
    EXPECT_DOUBLE_EQ(accuracy[0].heat, 0.9);
    EXPECT_EQ(accuracy[1].label, "25%");
    EXPECT_EQ(accuracy[1].asked, 4);
    EXPECT_EQ(accuracy[2].label, "0%");
    EXPECT_DOUBLE_EQ(accuracy[2].heat, 0.0);

    const std::vector<HeatCell> time = heatCells(pitches, HeatMeasure::AnswerTime);
    EXPECT_EQ(time[0].label, "0.8 s");
    EXPECT_DOUBLE_EQ(time[0].heat, 1.0); // the fastest
    EXPECT_DOUBLE_EQ(time[1].heat, 0.0); // the slowest
    EXPECT_DOUBLE_EQ(time[3].heat, 0.5);
    EXPECT_EQ(time[2].label, "-"); // never right: no time
    EXPECT_LT(time[2].heat, 0);

    // One time only: it is not slow.
    EXPECT_DOUBLE_EQ(heatCells({stats(70, 1, 0, 0, 3000)}, HeatMeasure::AnswerTime)[0].heat, 1.0);

    EXPECT_EQ(cellDescription(accuracy[1], Solfege), "RE4: 1 of 4 right (25 %), median 2.0 s");
    EXPECT_EQ(cellDescription(accuracy[2], Letter), "E4: 0 of 3 right (0 %)");
}

TEST(HeatCells, ColoursRunFromRedThroughAmberToGreen) {
    const HeatRgb worst = heatColour(0.0);
    const HeatRgb middle = heatColour(0.5);
    const HeatRgb best = heatColour(1.0);
    EXPECT_GT(worst.red, 2 * worst.green);
    EXPECT_GT(best.green, 2 * best.red);
    EXPECT_GT(middle.red, 200);
    EXPECT_GT(middle.green, 150);
    EXPECT_EQ(heatColour(-1), (HeatRgb{190, 190, 190}));
    EXPECT_EQ(heatColour(3.0), best);
    // Better is greener all the way.
    for (int i = 1; i <= 10; ++i) {
        const HeatRgb a = heatColour((i - 1) / 10.0);
        const HeatRgb b = heatColour(i / 10.0);
        EXPECT_GE(b.green - b.red, a.green - a.red) << i;
    }
}

TEST(StatisticsChoices, FiltersAndPeriodsOnLocalDays) {
    const TimeZone zone("Europe/Paris");
    const std::int64_t now = Monday + 10 * Hour; // 11:00 in Paris
    StatisticsChoice choice;
    choice.exercise = Exercise::Recognize;
    choice.input = AnswerInput::Instrument;
    choice.period = StatisticsPeriod::LastWeek;
    const HistoryFilter week = historyFilter(choice, now);
    EXPECT_EQ(week.exercise, Exercise::Recognize);
    EXPECT_EQ(week.input, AnswerInput::Instrument);
    ASSERT_TRUE(week.fromMs);
    // Seven local days, today included: from Tuesday 00:00 in Paris (23:00 UTC on Monday).
    EXPECT_EQ(*week.fromMs, Monday - 6 * Day - Hour);
    EXPECT_FALSE(week.toMs);

    choice.period = StatisticsPeriod::AllTime;
    EXPECT_FALSE(historyFilter(choice, now).fromMs);
    EXPECT_EQ(chartWeeks(StatisticsPeriod::AllTime), 52);

    ASSERT_EQ(exerciseChoices().size(), 5u);
    EXPECT_FALSE(exerciseChoices()[0]);
    EXPECT_FALSE(inputChoices()[0]);
    EXPECT_STREQ(choiceName(std::optional<Exercise>()), "All exercises");
}

TEST(DailySeries, EveryDayOfTheWeeksWithTodayLast) {
    const TimeZone zone("Europe/Paris");
    // Sunday 2026-03-29, the day summer time begins in Paris (23 hours long).
    const std::int64_t now = Monday + 27 * Day + 12 * Hour;
    const std::vector<DayStatistics> days = {{"2026-03-29", 10, 7},
                                             {"2026-03-02", 4, 1},
                                             {"2026-03-01", 9, 9}, // before the series
                                             {"2026-03-10", 3, 3}};
    const DailySeries series = dailySeries(days, 4, now);
    ASSERT_EQ(series.points.size(), 28u);
    EXPECT_EQ(series.points.front().day, "2026-03-02");
    EXPECT_EQ(series.points.back().day, "2026-03-29");
    for (std::size_t i = 1; i < series.points.size(); ++i) {
        EXPECT_LT(series.points[i - 1].day, series.points[i].day) << i;
    }
    EXPECT_EQ(series.points.back().answers, 10);
    EXPECT_DOUBLE_EQ(series.points.back().accuracy(), 0.7);
    EXPECT_EQ(series.points[8].day, "2026-03-10");
    EXPECT_EQ(series.points[8].right, 3);
    EXPECT_FALSE(series.points[1].practised());
    EXPECT_EQ(series.answers, 17);
    EXPECT_EQ(series.right, 11);
    EXPECT_EQ(series.mostAnswers, 10);
    EXPECT_EQ(series.practisedDays, 3);
    EXPECT_EQ(localDate(now), "2026-03-29");
}

// The report from rows put straight into a file: the cells equal the counts of the rows.
TEST(StatisticsReport, FromRowsOfAHistoryFile) {
    const TimeZone zone("UTC");
    TempFolder folder;
    const std::string path = folder.file("historyalto.sqlite");
    const std::int64_t now = Monday + 12 * Hour;
    {
        HistoryProblem problem;
        HistoryDatabase db =
            HistoryDatabase::open(path, HistoryDatabase::Access::ReadWrite, problem);
        ASSERT_TRUE(db.isOpen()) << problem.message;
        std::vector<AnswerOutcome> rows = {
            note(62, 62, Outcome::Right, 900, Exercise::NotesDictation, AnswerInput::Mouse,
                 now - Hour),
            note(62, 64, Outcome::Wrong, 1200, Exercise::NotesDictation, AnswerInput::Mouse,
                 now - Hour),
            note(62, 64, Outcome::Wrong, 1300, Exercise::NotesDictation, AnswerInput::Mouse,
                 now - Day),
            note(62, -1, Outcome::Missed, -1, Exercise::NotesDictation, AnswerInput::Mouse,
                 now - Day),
            note(67, 67, Outcome::Right, 700, Exercise::Recognize, AnswerInput::Voice,
                 now - 2 * Day),
            note(67, 67, Outcome::Right, 500, Exercise::Recognize, AnswerInput::Voice,
                 now - 2 * Day),
            note(67, 69, Outcome::Wrong, 800, Exercise::Recognize, AnswerInput::Voice,
                 now - 40 * Day),
        };
        rows[4].pitchClassOnly = rows[5].pitchClassOnly = rows[6].pitchClassOnly = true;
        ASSERT_TRUE(db.insert(rows, problem)) << problem.message;
    }
    HistoryProblem problem;
    const HistoryQueries queries(path, problem);
    ASSERT_TRUE(queries.isOpen()) << problem.message;

    StatisticsChoice choice; // all exercises and inputs, four weeks
    StatisticsReport report = buildReport(queries, choice, now, Letter);
    ASSERT_EQ(report.byAccuracy.size(), 2u);
    EXPECT_EQ(report.byAccuracy[0].pitch, 62);
    EXPECT_EQ(report.byAccuracy[0].asked, 4);
    EXPECT_EQ(report.byAccuracy[0].label, "25%");
    EXPECT_EQ(report.byAccuracy[1].pitch, 67);
    EXPECT_EQ(report.byAccuracy[1].label, "100%"); // the wrong answer is older than 4 weeks
    EXPECT_EQ(report.byAnswerTime[1].label, "0.5 s");
    EXPECT_EQ(report.byAnswerTime[0].label, "0.9 s");
    EXPECT_EQ(report.noteAnswers, 6);
    ASSERT_EQ(report.days.points.size(), 28u);
    EXPECT_EQ(report.days.points.back().answers, 2);
    EXPECT_EQ(report.days.points[26].answers, 2);
    EXPECT_EQ(report.days.points[25].right, 2);
    EXPECT_EQ(report.days.answers, 6);
    ASSERT_EQ(report.confusions.size(), 1u);
    EXPECT_EQ(report.confusions[0].text, "D4 placed as E4");
    EXPECT_EQ(report.confusions[0].count, 2);

    choice.period = StatisticsPeriod::AllTime;
    choice.exercise = Exercise::Recognize;
    report = buildReport(queries, choice, now, Solfege);
    ASSERT_EQ(report.byAccuracy.size(), 1u);
    EXPECT_EQ(report.byAccuracy[0].label, "67%");
    ASSERT_EQ(report.confusions.size(), 1u);
    EXPECT_EQ(report.confusions[0].text, "SOL read as LA");

    choice.input = AnswerInput::Mouse; // no Recognize answer came by mouse
    report = buildReport(queries, choice, now, Solfege);
    EXPECT_TRUE(report.byAccuracy.empty());
    EXPECT_TRUE(report.confusions.empty());
    EXPECT_EQ(report.days.answers, 0);
}

} // namespace
} // namespace tessimo
