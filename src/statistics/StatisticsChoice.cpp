#include "statistics/StatisticsChoice.h"

#include <ctime>

namespace tessimo {

namespace {

constexpr std::optional<Exercise> Exercises[] = {std::nullopt, Exercise::NotesDictation,
                                                 Exercise::IntervalDictation,
                                                 Exercise::ChordsDictation, Exercise::Recognize};
constexpr std::optional<AnswerInput> Inputs[] = {std::nullopt, AnswerInput::Mouse,
                                                 AnswerInput::Voice, AnswerInput::Instrument,
                                                 AnswerInput::MidiKeyboard};
constexpr StatisticsPeriod Periods[] = {StatisticsPeriod::LastWeek, StatisticsPeriod::LastFourWeeks,
                                        StatisticsPeriod::LastThreeMonths,
                                        StatisticsPeriod::LastYear, StatisticsPeriod::AllTime};

} // namespace

std::span<const std::optional<Exercise>> exerciseChoices() {
    return Exercises;
}
std::span<const std::optional<AnswerInput>> inputChoices() {
    return Inputs;
}
std::span<const StatisticsPeriod> periodChoices() {
    return Periods;
}

const char* choiceName(std::optional<Exercise> exercise) {
    if (!exercise) {
        return "All exercises";
    }
    switch (*exercise) {
    case Exercise::NotesDictation:
        return "Notes Dictation";
    case Exercise::IntervalDictation:
        return "Interval Dictation";
    case Exercise::ChordsDictation:
        return "Chords Dictation";
    case Exercise::Recognize:
        return "Recognize";
    }
    return "";
}

const char* choiceName(std::optional<AnswerInput> input) {
    if (!input) {
        return "Any answer input";
    }
    switch (*input) {
    case AnswerInput::Mouse:
        return "Mouse";
    case AnswerInput::Voice:
        return "Voice";
    case AnswerInput::Instrument:
        return "Instrument";
    case AnswerInput::MidiKeyboard:
        return "MIDI keyboard";
    }
    return "";
}

const char* choiceName(StatisticsPeriod period) {
    switch (period) {
    case StatisticsPeriod::LastWeek:
        return "Last 7 days";
    case StatisticsPeriod::LastFourWeeks:
        return "Last 4 weeks";
    case StatisticsPeriod::LastThreeMonths:
        return "Last 13 weeks";
    case StatisticsPeriod::LastYear:
        return "Last 52 weeks";
    case StatisticsPeriod::AllTime:
        return "All time";
    }
    return "";
}

int chartWeeks(StatisticsPeriod period) {
    switch (period) {
    case StatisticsPeriod::LastWeek:
        return 1;
    case StatisticsPeriod::LastFourWeeks:
        return 4;
    case StatisticsPeriod::LastThreeMonths:
        return 13;
    case StatisticsPeriod::LastYear:
    case StatisticsPeriod::AllTime:
        return 52;
    }
    return 4;
}

std::int64_t localDayStartBefore(std::int64_t nowMs, int days) {
    const std::time_t now = static_cast<std::time_t>(nowMs / 1000);
    std::tm tm{};
    localtime_r(&now, &tm);
    tm.tm_mday -= days;
    tm.tm_hour = 0;
    tm.tm_min = 0;
    tm.tm_sec = 0;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm)) * 1000;
}

HistoryFilter historyFilter(const StatisticsChoice& choice, std::int64_t nowMs) {
    HistoryFilter filter;
    filter.exercise = choice.exercise;
    filter.input = choice.input;
    if (choice.period != StatisticsPeriod::AllTime) {
        // The chart of n weeks shows 7n days up to today, today included.
        filter.fromMs = localDayStartBefore(nowMs, 7 * chartWeeks(choice.period) - 1);
    }
    return filter;
}

} // namespace tessimo
