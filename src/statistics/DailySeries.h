// The daily chart's points: every local day of the chart's weeks, today last, with the
// answers and the share right of that day (days without practice included, at zero). Pure;
// any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/HistoryQueries.h"

namespace tessimo {

struct DayPoint {
    std::string day; // local date, "YYYY-MM-DD"
    int answers = 0;
    int right = 0;
    bool practised() const { return answers > 0; }
    double accuracy() const { return answers > 0 ? static_cast<double>(right) / answers : 0.0; }
};

struct DailySeries {
    std::vector<DayPoint> points; // 7 x weeks days, oldest first, today last
    int mostAnswers = 0;          // the largest day, for the chart's scale
    int answers = 0;              // over the whole series
    int right = 0;
    int practisedDays = 0;
};

// The local date of a time, "YYYY-MM-DD".
std::string localDate(std::int64_t ms);

// The series of weeks weeks up to the day of nowMs from the days the history reports (in any
// order; days outside the series are left out).
DailySeries dailySeries(const std::vector<DayStatistics>& days, int weeks, std::int64_t nowMs);

} // namespace tessimo
