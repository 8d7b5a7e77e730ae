// Everything the statistics window shows, prepared from a user's history for one choice of
// filters: the heat-map cells by accuracy and by answer time, the daily series and the most
// frequent confusions. No Qt; the thread that owns the queries object.
#pragma once

#include <cstdint>
#include <vector>

#include "history/HistoryQueries.h"
#include "statistics/DailySeries.h"
#include "statistics/HeatMap.h"
#include "statistics/StatisticsChoice.h"

namespace tessimo {

// How many confusions the window lists.
inline constexpr int ShownConfusions = 10;

struct StatisticsReport {
    StatisticsChoice choice;
    std::vector<HeatCell> byAccuracy;   // single notes asked, lowest pitch first
    std::vector<HeatCell> byAnswerTime; // the same pitches
    DailySeries days;
    std::vector<Confusion> confusions; // most frequent first
    int noteAnswers = 0;               // answers behind the heat map
};

// Reads the history once for the choice at nowMs, naming notes in the convention 0..2.
StatisticsReport buildReport(const HistoryQueries& queries, const StatisticsChoice& choice,
                             std::int64_t nowMs, int convention);

} // namespace tessimo
