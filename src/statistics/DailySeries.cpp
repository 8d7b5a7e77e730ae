#include "statistics/DailySeries.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace tessimo {

std::string localDate(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0 ? 1 : 0));
    std::tm tm{};
    localtime_r(&seconds, &tm);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday);
    return buffer;
}

DailySeries dailySeries(const std::vector<DayStatistics>& days, int weeks, std::int64_t nowMs) {
    DailySeries series;
    const int count = 7 * std::max(weeks, 1);
    series.points.reserve(static_cast<std::size_t>(count));
    // Calendar days by their date, walked at local noon so that a change of summer time
    // never skips or repeats one.
    const std::time_t now = static_cast<std::time_t>(nowMs / 1000);
    std::tm today{};
    localtime_r(&now, &today);
    for (int back = count - 1; back >= 0; --back) {
        std::tm tm = today;
        tm.tm_mday -= back;
        tm.tm_hour = 12;
        tm.tm_min = 0;
        tm.tm_sec = 0;
        tm.tm_isdst = -1;
        std::mktime(&tm);
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday);
        series.points.push_back({buffer, 0, 0});
    }
    // Dates in this form sort as the days do.
    for (const DayStatistics& day : days) {
        const auto at = std::lower_bound(
            series.points.begin(), series.points.end(), day.day,
            [](const DayPoint& point, const std::string& date) { return point.day < date; });
        if (at == series.points.end() || at->day != day.day) {
            continue;
        }
        at->answers += day.answers;
        at->right += day.right;
    }
    for (const DayPoint& point : series.points) {
        series.mostAnswers = std::max(series.mostAnswers, point.answers);
        series.answers += point.answers;
        series.right += point.right;
        series.practisedDays += point.practised() ? 1 : 0;
    }
    return series;
}

} // namespace tessimo
