// The statistics drawn from a practice history: per pitch accuracy and answer time, the
// answers of each day, the most frequent confusions, and the rows as CSV. Reads through its
// own read-only connection, so a window can ask while the writer thread writes (WAL). No Qt;
// the object belongs to the thread that made it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "history/AnswerOutcome.h"
#include "history/HistoryDatabase.h"

namespace tessimo {

// Which answers count. Every part left empty takes all.
struct HistoryFilter {
    std::optional<Exercise> exercise;
    std::optional<AnswerInput> input;
    std::optional<std::int64_t> fromMs; // judged at or after
    std::optional<std::int64_t> toMs;   // judged before
};

struct PitchStatistics {
    int pitch = 0;
    int right = 0;
    int wrong = 0;
    int missed = 0;
    int medianAnswerMs = -1; // over the right answers; -1 when there are none

    int asked() const { return right + wrong + missed; }
    double accuracy() const { return asked() > 0 ? static_cast<double>(right) / asked() : 0.0; }
};

struct DayStatistics {
    std::string day; // local date, "YYYY-MM-DD"
    int answers = 0;
    int right = 0;

    double accuracy() const { return answers > 0 ? static_cast<double>(right) / answers : 0.0; }
};

struct Confusion {
    std::string text; // "RE heard as MI", "G4 placed as A4"
    int count = 0;
};

// Everything a statistics window shows, from one pass over the answers.
struct HistorySummary {
    std::vector<PitchStatistics> pitches; // as pitchStatistics()
    std::vector<DayStatistics> days;      // as dailyStatistics()
    std::vector<Confusion> confusions;    // as confusions()
};

class HistoryQueries {
public:
    // Opens the history at path for reading; a missing file is an empty history. problem
    // says why a present file cannot be read. Blocks on the disk.
    HistoryQueries(const std::string& path, HistoryProblem& problem);

    bool isOpen() const { return db_.isOpen(); }

    // The three below at once, reading each answer once.
    HistorySummary summary(const HistoryFilter& filter, int weeks, std::int64_t nowMs,
                           int convention, int confusionLimit) const;

    // The single-note questions (Notes Dictation, Recognize) by expected pitch, lowest first;
    // pitches never asked are left out.
    std::vector<PitchStatistics> pitchStatistics(const HistoryFilter& filter) const;

    // One entry per local day with answers, oldest first, from the start of the day weeks
    // weeks before nowMs (filter.fromMs, when later, wins).
    std::vector<DayStatistics> dailyStatistics(const HistoryFilter& filter, int weeks,
                                               std::int64_t nowMs) const;

    // The wrong answers grouped by what was expected and what was given, most frequent first
    // (ties in text order), at most limit, named in the naming convention 0..2.
    std::vector<Confusion> confusions(const HistoryFilter& filter, int convention, int limit) const;

    // The last outcomes of single-note questions on pitch in exercise, newest first.
    std::vector<Outcome> recentOutcomes(Exercise exercise, int pitch, int count) const;

    // Every answer the filter takes, oldest first, as CSV (RFC 4180: a header line, CRLF
    // line ends, fields quoted where they hold a comma, a quote or a line break). False when
    // the history cannot be read.
    bool exportCsv(const HistoryFilter& filter, std::ostream& out) const;

private:
    enum Part : unsigned { Pitches = 1, Days = 2, Confusions = 4 };
    HistorySummary scan(const HistoryFilter& filter, unsigned parts, int weeks, std::int64_t nowMs,
                        int convention, int confusionLimit) const;

    HistoryDatabase db_;
};

// One CSV field, quoted when needed (RFC 4180).
std::string csvField(const std::string& value);

// How a wrong answer reads: "<expected> <verb> <given>". The verb says what the user did:
// "read as" in Recognize, "placed as" when a dictation was answered with the mouse and judged
// by pitch, "heard as" otherwise (a spoken name, judged by pitch class). Names carry the octave
// ("G4", middle C is C4) unless the answer was judged by pitch class or spoken; groups join their
// names with "-".
std::string confusionText(Exercise exercise, AnswerInput input, bool pitchClassOnly,
                          const PitchGroup& expected, const PitchGroup& given, int convention);

} // namespace tessimo
