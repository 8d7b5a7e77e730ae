// What the statistics window is asked to show: which exercise, which answer input and which
// period, as the user picks them, turned into the history's filter. Pure; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "history/AnswerOutcome.h"
#include "history/HistoryQueries.h"

namespace tessimo {

enum class StatisticsPeriod : int { LastWeek, LastFourWeeks, LastThreeMonths, LastYear, AllTime };

struct StatisticsChoice {
    std::optional<Exercise> exercise; // none: every exercise
    std::optional<AnswerInput> input; // none: every answer input
    StatisticsPeriod period = StatisticsPeriod::LastFourWeeks;
};

// The choices of each filter in the order a list offers them; "all" is the first entry of the
// exercise and input lists and stands for no restriction.
std::span<const std::optional<Exercise>> exerciseChoices();
std::span<const std::optional<AnswerInput>> inputChoices();
std::span<const StatisticsPeriod> periodChoices();

// English names of the choices (the window translates them).
const char* choiceName(std::optional<Exercise> exercise);
const char* choiceName(std::optional<AnswerInput> input);
const char* choiceName(StatisticsPeriod period);

// Whole weeks the daily chart covers for a period: the period itself, a year for all time.
int chartWeeks(StatisticsPeriod period);

// The history filter of a choice at nowMs: the exercise and input as chosen, and answers from
// the start of the local day that begins the period (none for all time).
HistoryFilter historyFilter(const StatisticsChoice& choice, std::int64_t nowMs);

// The start of the local day days days before the day of nowMs.
std::int64_t localDayStartBefore(std::int64_t nowMs, int days);

} // namespace tessimo
