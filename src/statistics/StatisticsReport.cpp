#include "statistics/StatisticsReport.h"

namespace tessimo {

StatisticsReport buildReport(const HistoryQueries& queries, const StatisticsChoice& choice,
                             std::int64_t nowMs, int convention) {
    StatisticsReport report;
    report.choice = choice;
    const int weeks = chartWeeks(choice.period);
    HistorySummary summary =
        queries.summary(historyFilter(choice, nowMs), weeks, nowMs, convention, ShownConfusions);
    report.byAccuracy = heatCells(summary.pitches, HeatMeasure::Accuracy);
    report.byAnswerTime = heatCells(summary.pitches, HeatMeasure::AnswerTime);
    for (const HeatCell& cell : report.byAccuracy) {
        report.noteAnswers += cell.asked;
    }
    report.days = dailySeries(summary.days, weeks, nowMs);
    report.confusions = std::move(summary.confusions);
    return report;
}

} // namespace tessimo
