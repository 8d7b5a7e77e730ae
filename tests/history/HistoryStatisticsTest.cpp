#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "HistoryTestSupport.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryQueries.h"
#include "model/NoteNames.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

constexpr std::int64_t Day = 86400000;
// 2026-03-02 00:00 UTC, a Monday.
constexpr std::int64_t Monday = 1772409600000;

HistoryFilter only(Exercise exercise) {
    HistoryFilter filter;
    filter.exercise = exercise;
    return filter;
}
HistoryFilter only(AnswerInput input) {
    HistoryFilter filter;
    filter.input = input;
    return filter;
}
HistoryFilter only(Exercise exercise, AnswerInput input) {
    HistoryFilter filter = only(exercise);
    filter.input = input;
    return filter;
}
HistoryFilter period(std::int64_t from, std::optional<std::int64_t> to = std::nullopt) {
    HistoryFilter filter;
    filter.fromMs = from;
    filter.toMs = to;
    return filter;
}

class HistoryStatisticsTest : public ::testing::Test {
protected:
    void store(const std::vector<AnswerOutcome>& answers) {
        HistoryProblem problem;
        HistoryDatabase db =
            HistoryDatabase::open(path_, HistoryDatabase::Access::ReadWrite, problem);
        ASSERT_TRUE(db.isOpen()) << problem.message;
        ASSERT_TRUE(db.insert(answers, problem)) << problem.message;
    }
    HistoryQueries queries() {
        HistoryProblem problem;
        HistoryQueries q(path_, problem);
        EXPECT_FALSE(problem) << problem.message;
        return q;
    }

    TempFolder folder_;
    std::string path_ = folder_.file("historyalto.sqlite");
};

TEST_F(HistoryStatisticsTest, PerPitchCountsAndMedianAnswerTime) {
    store({
        note(60, 60, Outcome::Right, 300),
        note(60, 60, Outcome::Right, 100),
        note(60, 60, Outcome::Right, 900),
        note(60, 60, Outcome::Right, 200),
        note(60, 62, Outcome::Wrong, 50), // a wrong answer's time is not a reading time
        note(60, -1, Outcome::Missed),
        note(62, -1, Outcome::Missed),
        note(64, 64, Outcome::Right, 700, Exercise::Recognize, AnswerInput::Voice),
    });
    AnswerOutcome interval = note(60, 60, Outcome::Wrong, 100, Exercise::IntervalDictation);
    interval.expected.add(67);
    store({interval}); // groups are not single-pitch questions

    const std::vector<PitchStatistics> stats = queries().pitchStatistics({});
    ASSERT_EQ(stats.size(), 3u);
    EXPECT_EQ(stats[0].pitch, 60);
    EXPECT_EQ(stats[0].right, 4);
    EXPECT_EQ(stats[0].wrong, 1);
    EXPECT_EQ(stats[0].missed, 1);
    EXPECT_DOUBLE_EQ(stats[0].accuracy(), 4.0 / 6.0);
    EXPECT_EQ(stats[0].medianAnswerMs, 200); // of 100 200 300 900, the lower middle one
    EXPECT_EQ(stats[1].pitch, 62);
    EXPECT_EQ(stats[1].medianAnswerMs, -1);
    EXPECT_DOUBLE_EQ(stats[1].accuracy(), 0.0);
    EXPECT_EQ(stats[2].pitch, 64);
    EXPECT_EQ(stats[2].medianAnswerMs, 700);
}

TEST_F(HistoryStatisticsTest, FiltersByExerciseInputAndPeriod) {
    store({
        note(60, 60, Outcome::Right, 100, Exercise::NotesDictation, AnswerInput::Mouse, Monday),
        note(60, 61, Outcome::Wrong, 100, Exercise::Recognize, AnswerInput::Voice, Monday + Day),
        note(60, 60, Outcome::Right, 100, Exercise::Recognize, AnswerInput::Instrument,
             Monday + 2 * Day),
    });
    HistoryQueries q = queries();
    auto asked = [&](const HistoryFilter& filter) {
        int n = 0;
        for (const PitchStatistics& s : q.pitchStatistics(filter)) {
            n += s.asked();
        }
        return n;
    };
    EXPECT_EQ(asked({}), 3);
    EXPECT_EQ(asked(only(Exercise::Recognize)), 2);
    EXPECT_EQ(asked(only(AnswerInput::Voice)), 1);
    EXPECT_EQ(asked(only(Exercise::Recognize, AnswerInput::Mouse)), 0);
    EXPECT_EQ(asked(period(Monday + Day)), 2);
    EXPECT_EQ(asked(period(Monday, Monday + Day)), 1); // the end is excluded
}

// Days are the user's local days, counted back whole weeks from today.
TEST_F(HistoryStatisticsTest, DailyAccuracyFollowsTheLocalDay) {
    TimeZone zone("XYZ-2"); // two hours east of UTC, no summer time
    const std::int64_t lateMonday = Monday + 22 * 3600000 + 30 * 60000; // Tuesday 00:30 local
    store({
        note(60, 60, Outcome::Right, 100, Exercise::NotesDictation, AnswerInput::Mouse, Monday),
        note(60, 62, Outcome::Wrong, 100, Exercise::NotesDictation, AnswerInput::Mouse,
             Monday + 3600000),
        note(60, 60, Outcome::Right, 100, Exercise::NotesDictation, AnswerInput::Mouse, lateMonday),
        note(60, 60, Outcome::Right, 100, Exercise::NotesDictation, AnswerInput::Mouse,
             Monday - 15 * Day), // more than two weeks back
    });
    const std::vector<DayStatistics> days = queries().dailyStatistics({}, 2, Monday + 3 * Day);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].day, "2026-03-02");
    EXPECT_EQ(days[0].answers, 2);
    EXPECT_DOUBLE_EQ(days[0].accuracy(), 0.5);
    EXPECT_EQ(days[1].day, "2026-03-03");
    EXPECT_EQ(days[1].answers, 1);
    EXPECT_EQ(queries().dailyStatistics({}, 3, Monday + 3 * Day).size(), 3u);
}

TEST_F(HistoryStatisticsTest, ConfusionsInTheUsersNamingMostFrequentFirst) {
    AnswerOutcome spoken = note(62, 64, Outcome::Wrong); // a dictation of a spoken name
    spoken.pitchClassOnly = true;
    AnswerOutcome spokenOctaveUp = spoken;
    spokenOctaveUp.expected = PitchGroup::single(74);
    spokenOctaveUp.given = PitchGroup::single(76);
    AnswerOutcome chord = note(60, 60, Outcome::Wrong, 100, Exercise::ChordsDictation);
    chord.expected.add(64);
    chord.expected.add(67);
    chord.given.add(63);
    chord.given.add(67);
    store({
        spoken, spoken, spokenOctaveUp,                             // one pitch class: 3 together
        note(67, 69, Outcome::Wrong), note(67, 69, Outcome::Wrong), // placed on the staff
        note(61, 63, Outcome::Wrong, 100, Exercise::Recognize, AnswerInput::Instrument), chord,
        note(65, 65, Outcome::Right), note(65, -1, Outcome::Missed), // not confusions
    });
    HistoryQueries q = queries();
    const std::vector<Confusion> solfege = q.confusions({}, Solfege, 10);
    ASSERT_EQ(solfege.size(), 4u);
    EXPECT_EQ(solfege[0].text, "RE heard as MI");
    EXPECT_EQ(solfege[0].count, 3);
    EXPECT_EQ(solfege[1].text, "SOL4 placed as LA4");
    EXPECT_EQ(solfege[1].count, 2);

    const std::vector<Confusion> letters = q.confusions({}, Letter, 10);
    EXPECT_EQ(letters[1].text, "G4 placed as A4");
    EXPECT_EQ(letters[2].count, 1);
    EXPECT_EQ(letters[2].text, "C#4 read as D#4"); // ties in text order
    EXPECT_EQ(letters[3].text, "C4-E4-G4 placed as C4-D#4-G4");
    EXPECT_EQ(q.confusions({}, German, 1).front().text, "d heard as e");
    EXPECT_EQ(q.confusions(only(Exercise::Recognize), German, 10).front().text,
              "c is4 read as d is4");
}

TEST_F(HistoryStatisticsTest, CsvQuotesWhatNeedsQuoting) {
    AnswerOutcome odd =
        note(60, -1, Outcome::Missed, 0, Exercise::Recognize, AnswerInput::Voice, Monday + 1234);
    odd.user = "Ann \"Alto\", choir\nsecond line";
    AnswerOutcome chord =
        note(60, 60, Outcome::Right, 850, Exercise::ChordsDictation, AnswerInput::Mouse, Monday);
    chord.expected.add(64);
    chord.given.add(64);
    chord.clef = 1;
    store({chord, odd});
    std::ostringstream out;
    ASSERT_TRUE(queries().exportCsv({}, out));
    EXPECT_EQ(out.str(),
              "time,user,exercise,input,clef,expected,given,pitch_class_only,outcome,answer_ms\r\n"
              "2026-03-02T00:00:00.000Z,alto,chords dictation,mouse,bass,60 64,60 64,0,right,"
              "850\r\n"
              "2026-03-02T00:00:01.234Z,\"Ann \"\"Alto\"\", choir\nsecond line\",recognize,voice,"
              "treble,60,,0,missed,\r\n");
    EXPECT_EQ(csvField("plain"), "plain");
    EXPECT_EQ(csvField("a\rb"), "\"a\rb\"");

    std::ostringstream filtered;
    ASSERT_TRUE(queries().exportCsv(only(Exercise::Recognize), filtered));
    const std::string lines = filtered.str();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\r'), 2);
}

} // namespace
} // namespace tessimo
