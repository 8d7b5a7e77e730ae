#include "history/HistoryQueries.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

#include "model/NoteNames.h"

namespace tessimo {

namespace {

constexpr int SingleNoteExercises[] = {static_cast<int>(Exercise::NotesDictation),
                                       static_cast<int>(Exercise::Recognize)};

// " AND ..." for the filter; binds start at index first.
std::string filterClause(const HistoryFilter& filter) {
    std::string sql;
    if (filter.exercise) {
        sql += " AND exercise = ?";
    }
    if (filter.input) {
        sql += " AND input = ?";
    }
    if (filter.fromMs) {
        sql += " AND at_ms >= ?";
    }
    if (filter.toMs) {
        sql += " AND at_ms < ?";
    }
    return sql;
}

int bindFilter(sqlite3_stmt* statement, const HistoryFilter& filter, int index) {
    if (filter.exercise) {
        sqlite3_bind_int(statement, index++, static_cast<int>(*filter.exercise));
    }
    if (filter.input) {
        sqlite3_bind_int(statement, index++, static_cast<int>(*filter.input));
    }
    if (filter.fromMs) {
        sqlite3_bind_int64(statement, index++, *filter.fromMs);
    }
    if (filter.toMs) {
        sqlite3_bind_int64(statement, index++, *filter.toMs);
    }
    return index;
}

const char* text(sqlite3_stmt* statement, int column) {
    const unsigned char* value = sqlite3_column_text(statement, column);
    return value != nullptr ? reinterpret_cast<const char*>(value) : "";
}

std::string pitchName(int pitch, int convention, bool withOctave) {
    std::string name = noteName(pitch, convention);
    if (withOctave) {
        name += std::to_string(pitch / 12 - 1);
    }
    return name;
}

std::string groupName(const PitchGroup& group, int convention, bool withOctave) {
    if (group.empty()) {
        return "nothing";
    }
    std::string name;
    for (int i = 0; i < group.count; ++i) {
        if (i > 0) {
            name += '-';
        }
        name += pitchName(group.pitches[static_cast<std::size_t>(i)], convention, withOctave);
    }
    return name;
}

const char* exerciseName(int exercise) {
    switch (static_cast<Exercise>(exercise)) {
    case Exercise::NotesDictation:
        return "notes dictation";
    case Exercise::IntervalDictation:
        return "interval dictation";
    case Exercise::ChordsDictation:
        return "chords dictation";
    case Exercise::Recognize:
        return "recognize";
    }
    return "unknown";
}

const char* inputName(int input) {
    switch (static_cast<AnswerInput>(input)) {
    case AnswerInput::Mouse:
        return "mouse";
    case AnswerInput::Voice:
        return "voice";
    case AnswerInput::Instrument:
        return "instrument";
    case AnswerInput::MidiKeyboard:
        return "midi keyboard";
    }
    return "unknown";
}

const char* outcomeName(int outcome) {
    switch (static_cast<Outcome>(outcome)) {
    case Outcome::Right:
        return "right";
    case Outcome::Wrong:
        return "wrong";
    case Outcome::Missed:
        return "missed";
    }
    return "unknown";
}

std::string utcTime(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0 ? 1 : 0));
    const int millis = static_cast<int>((ms % 1000 + 1000) % 1000);
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, millis);
    return buffer;
}

// The start of the local day weeks weeks before the day of nowMs.
std::int64_t localDayStart(std::int64_t nowMs, int weeks) {
    const std::time_t now = static_cast<std::time_t>(nowMs / 1000);
    std::tm tm{};
    localtime_r(&now, &tm);
    tm.tm_mday -= 7 * weeks;
    tm.tm_hour = 0;
    tm.tm_min = 0;
    tm.tm_sec = 0;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm)) * 1000;
}

} // namespace

HistoryQueries::HistoryQueries(const std::string& path, HistoryProblem& problem)
    : db_(HistoryDatabase::open(path, HistoryDatabase::Access::ReadOnly, problem)) {}

namespace {

// The local day of a time, remembered across calls: answers come in time order, so the
// day's bounds are looked up once a day, not once an answer.
class LocalDays {
public:
    const std::string& dayOf(std::int64_t ms) {
        if (ms < start_ || ms >= end_) {
            const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
            std::tm tm{};
            localtime_r(&seconds, &tm);
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                          tm.tm_mday);
            name_ = buffer;
            tm.tm_hour = 0;
            tm.tm_min = 0;
            tm.tm_sec = 0;
            tm.tm_isdst = -1;
            std::tm next = tm;
            start_ = static_cast<std::int64_t>(std::mktime(&tm)) * 1000;
            next.tm_mday += 1;
            end_ = static_cast<std::int64_t>(std::mktime(&next)) * 1000;
        }
        return name_;
    }

private:
    std::int64_t start_ = 0;
    std::int64_t end_ = 0;
    std::string name_;
};

} // namespace

HistorySummary HistoryQueries::scan(const HistoryFilter& filter, unsigned parts, int weeks,
                                    std::int64_t nowMs, int convention, int confusionLimit) const {
    HistorySummary result;
    // Files of version 3 and later have an index for each statistic that holds every column it
    // reads; an older file (not yet migrated by the writer) is read row by row.
    const bool narrow = db_.schemaVersion() >= 3;
    auto query = [&](const char* columns, const char* index, const std::string& where,
                     const HistoryFilter& f) {
        const std::string sql = std::string("SELECT ") + columns + " FROM answer " +
                                (narrow ? std::string("INDEXED BY ") + index : "") + " WHERE " +
                                where + filterClause(f);
        SqliteStatement statement = db_.prepare(sql.c_str());
        if (statement) {
            bindFilter(statement.get(), f, 1);
        }
        return statement;
    };

    if ((parts & Pitches) != 0) {
        SqliteStatement statement =
            query("expected_pitch, outcome, answer_ms", "answer_pitch_stats",
                  "exercise IN (" + std::to_string(SingleNoteExercises[0]) + ", " +
                      std::to_string(SingleNoteExercises[1]) + ") AND expected_pitch IS NOT NULL",
                  filter);
        std::array<PitchStatistics, 128> byPitch{};
        std::array<std::vector<int>, 128> times{};
        sqlite3_stmt* s = statement.get();
        while (s != nullptr && sqlite3_step(s) == SQLITE_ROW) {
            const int pitch = sqlite3_column_int(s, 0);
            if (pitch < 0 || pitch > 127) {
                continue;
            }
            PitchStatistics& p = byPitch[static_cast<std::size_t>(pitch)];
            const Outcome outcome = static_cast<Outcome>(sqlite3_column_int(s, 1));
            if (outcome == Outcome::Right) {
                ++p.right;
                if (sqlite3_column_type(s, 2) != SQLITE_NULL) {
                    times[static_cast<std::size_t>(pitch)].push_back(sqlite3_column_int(s, 2));
                }
            } else if (outcome == Outcome::Wrong) {
                ++p.wrong;
            } else {
                ++p.missed;
            }
        }
        for (int pitch = 0; pitch < 128; ++pitch) {
            PitchStatistics p = byPitch[static_cast<std::size_t>(pitch)];
            if (p.asked() == 0) {
                continue;
            }
            p.pitch = pitch;
            std::vector<int>& t = times[static_cast<std::size_t>(pitch)];
            if (!t.empty()) {
                // The median; for an even count the lower of the two middle values, so that it
                // is always a time that was measured.
                const auto middle = t.begin() + static_cast<long>((t.size() - 1) / 2);
                std::nth_element(t.begin(), middle, t.end());
                p.medianAnswerMs = *middle;
            }
            result.pitches.push_back(p);
        }
    }

    if ((parts & Days) != 0) {
        HistoryFilter bounded = filter;
        const std::int64_t start = localDayStart(nowMs, weeks);
        if (!bounded.fromMs || *bounded.fromMs < start) {
            bounded.fromMs = start;
        }
        SqliteStatement statement = query("at_ms, outcome", "answer_day", "1", bounded);
        std::map<std::string, DayStatistics> days;
        LocalDays localDays;
        sqlite3_stmt* s = statement.get();
        while (s != nullptr && sqlite3_step(s) == SQLITE_ROW) {
            DayStatistics& day = days[localDays.dayOf(sqlite3_column_int64(s, 0))];
            ++day.answers;
            day.right += sqlite3_column_int(s, 1) == static_cast<int>(Outcome::Right) ? 1 : 0;
        }
        for (auto& [name, day] : days) {
            day.day = name;
            result.days.push_back(day);
        }
    }

    if ((parts & Confusions) != 0) {
        SqliteStatement statement =
            query("exercise, input, pitch_class_only, expected, given, count(*)", "answer_wrong",
                  "outcome = 1", filter);
        if (statement) {
            // Grouping needs the statement's text finished: rebuild it with the GROUP BY.
            const std::string sql = std::string(sqlite3_sql(statement.get())) +
                                    " GROUP BY exercise, input, pitch_class_only, expected, given";
            statement = db_.prepare(sql.c_str());
            if (statement) {
                bindFilter(statement.get(), filter, 1);
            }
        }
        // Several stored groups can read the same (the octaves of one pitch class): add up.
        std::map<std::string, int> counts;
        sqlite3_stmt* s = statement.get();
        while (s != nullptr && sqlite3_step(s) == SQLITE_ROW) {
            const std::string line = confusionText(
                static_cast<Exercise>(sqlite3_column_int(s, 0)),
                static_cast<AnswerInput>(sqlite3_column_int(s, 1)), sqlite3_column_int(s, 2) != 0,
                parsePitchGroup(text(s, 3)), parsePitchGroup(text(s, 4)), convention);
            counts[line] += sqlite3_column_int(s, 5);
        }
        for (const auto& [line, count] : counts) {
            result.confusions.push_back({line, count});
        }
        std::stable_sort(result.confusions.begin(), result.confusions.end(),
                         [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
        if (confusionLimit >= 0 &&
            result.confusions.size() > static_cast<std::size_t>(confusionLimit)) {
            result.confusions.resize(static_cast<std::size_t>(confusionLimit));
        }
    }
    return result;
}

HistorySummary HistoryQueries::summary(const HistoryFilter& filter, int weeks, std::int64_t nowMs,
                                       int convention, int confusionLimit) const {
    return scan(filter, Pitches | Days | Confusions, weeks, nowMs, convention, confusionLimit);
}

std::vector<PitchStatistics> HistoryQueries::pitchStatistics(const HistoryFilter& filter) const {
    return scan(filter, Pitches, 0, 0, 0, 0).pitches;
}

std::vector<DayStatistics> HistoryQueries::dailyStatistics(const HistoryFilter& filter, int weeks,
                                                           std::int64_t nowMs) const {
    return scan(filter, Days, weeks, nowMs, 0, 0).days;
}

std::vector<Confusion> HistoryQueries::confusions(const HistoryFilter& filter, int convention,
                                                  int limit) const {
    return scan(filter, Confusions, 0, 0, convention, limit).confusions;
}

std::vector<Outcome> HistoryQueries::recentOutcomes(Exercise exercise, int pitch, int count) const {
    std::vector<Outcome> result;
    SqliteStatement statement = db_.prepare("SELECT outcome FROM answer WHERE exercise = ? AND "
                                            "expected_pitch = ? ORDER BY id DESC LIMIT ?");
    if (!statement) {
        return result;
    }
    sqlite3_bind_int(statement.get(), 1, static_cast<int>(exercise));
    sqlite3_bind_int(statement.get(), 2, pitch);
    sqlite3_bind_int(statement.get(), 3, count);
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        result.push_back(static_cast<Outcome>(sqlite3_column_int(statement.get(), 0)));
    }
    return result;
}

bool HistoryQueries::exportCsv(const HistoryFilter& filter, std::ostream& out) const {
    out << "time,user,exercise,input,clef,expected,given,pitch_class_only,outcome,answer_ms\r\n";
    if (!db_.isOpen()) {
        return static_cast<bool>(out);
    }
    const std::string sql = "SELECT at_ms, user, exercise, input, clef, expected, given, "
                            "pitch_class_only, outcome, answer_ms FROM answer WHERE 1" +
                            filterClause(filter) + " ORDER BY id";
    SqliteStatement statement = db_.prepare(sql.c_str());
    if (!statement) {
        return false;
    }
    sqlite3_stmt* s = statement.get();
    bindFilter(s, filter, 1);
    int code = SQLITE_ROW;
    while ((code = sqlite3_step(s)) == SQLITE_ROW) {
        out << utcTime(sqlite3_column_int64(s, 0)) << ',' << csvField(text(s, 1)) << ','
            << exerciseName(sqlite3_column_int(s, 2)) << ',' << inputName(sqlite3_column_int(s, 3))
            << ',' << (sqlite3_column_int(s, 4) == 1 ? "bass" : "treble") << ','
            << csvField(text(s, 5)) << ',' << csvField(text(s, 6)) << ','
            << sqlite3_column_int(s, 7) << ',' << outcomeName(sqlite3_column_int(s, 8)) << ',';
        if (sqlite3_column_type(s, 9) != SQLITE_NULL) {
            out << sqlite3_column_int(s, 9);
        }
        out << "\r\n";
    }
    return code == SQLITE_DONE && static_cast<bool>(out);
}

std::string csvField(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        return value;
    }
    std::string quotedValue = "\"";
    for (char c : value) {
        if (c == '"') {
            quotedValue += '"';
        }
        quotedValue += c;
    }
    quotedValue += '"';
    return quotedValue;
}

std::string confusionText(Exercise exercise, AnswerInput input, bool pitchClassOnly,
                          const PitchGroup& expected, const PitchGroup& given, int convention) {
    const bool withOctave = !pitchClassOnly && input != AnswerInput::Voice;
    const char* verb = exercise == Exercise::Recognize                  ? " read as "
                       : input == AnswerInput::Mouse && !pitchClassOnly ? " placed as "
                                                                        : " heard as ";
    return groupName(expected, convention, withOctave) + verb +
           groupName(given, convention, withOctave);
}

} // namespace tessimo
