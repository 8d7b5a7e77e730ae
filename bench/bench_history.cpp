// Prints how long the statistics of a year of daily practice (200 000 answers) take to
// compute, which is what opening a statistics window costs, and what recording one answer
// costs the user-interface thread while the writer thread commits.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <stdlib.h>
#include <time.h>

#include "history/HistoryDatabase.h"
#include "history/HistoryQueries.h"
#include "history/HistoryWriter.h"
#include "history/WeakSpotWeights.h"

using namespace tessimo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Answers = 200000;
constexpr int Days = 365;
constexpr std::int64_t DayMs = 86400000;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The processor time this thread spent, and the time that passed, both the median of five runs
// in milliseconds. On a shared machine the processor time is the one to compare.
struct Timing {
    double cpu = 0;
    double wall = 0;
};

template <typename F> Timing timed(F&& f) {
    std::vector<double> cpu;
    std::vector<double> wall;
    for (int i = 0; i < 5; ++i) {
        const double c = cpuMs();
        const auto start = Clock::now();
        f();
        wall.push_back(msSince(start));
        cpu.push_back(cpuMs() - c);
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    return {cpu[2], wall[2]};
}

void print(const char* what, Timing t) {
    std::printf("%-58s %8.2f ms cpu %8.2f ms wall\n", what, t.cpu, t.wall);
}

AnswerOutcome randomAnswer(std::mt19937& random, std::int64_t atMs) {
    AnswerOutcome a;
    a.atMs = atMs;
    a.user = "alto";
    const int kind = static_cast<int>(random() % 10);
    a.exercise = kind < 5   ? Exercise::NotesDictation
                 : kind < 8 ? Exercise::Recognize
                 : kind < 9 ? Exercise::IntervalDictation
                            : Exercise::ChordsDictation;
    a.input = a.exercise == Exercise::Recognize
                  ? (random() % 2 == 0 ? AnswerInput::Voice : AnswerInput::Instrument)
                  : AnswerInput::Mouse;
    a.clef = static_cast<int>(random() % 2);
    const int pitch = 36 + static_cast<int>(random() % 48);
    a.expected = PitchGroup::single(pitch);
    if (a.exercise == Exercise::IntervalDictation) {
        a.expected.add(std::min(83, pitch + 1 + static_cast<int>(random() % 12)));
    } else if (a.exercise == Exercise::ChordsDictation) {
        a.expected.add(std::min(83, pitch + 4));
        a.expected.add(std::min(83, pitch + 7));
    }
    // Low and high notes are harder; a few miss.
    const int difficulty = std::abs(pitch - 60) / 4;
    const int roll = static_cast<int>(random() % 100);
    a.outcome = roll < 4                     ? Outcome::Missed
                : roll < 10 + difficulty * 3 ? Outcome::Wrong
                                             : Outcome::Right;
    if (a.outcome != Outcome::Missed) {
        a.given = a.expected;
        if (a.outcome == Outcome::Wrong) {
            a.given.pitches[0] =
                static_cast<std::uint8_t>(std::clamp(pitch + (random() % 2 == 0 ? 2 : -1), 36, 83));
        }
        a.answerMs = 400 + static_cast<int>(random() % 2000) + difficulty * 100;
    }
    a.pitchClassOnly = a.input == AnswerInput::Voice;
    return a;
}

} // namespace

int main() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tessimo-bench-history-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = pattern;
    const std::string path = (folder / "historybench.sqlite").string();
    const std::int64_t now = 1780000000000;

    // A year of practice, one session (one transaction) per day.
    std::mt19937 random(42);
    auto start = Clock::now();
    {
        HistoryProblem problem;
        HistoryDatabase db =
            HistoryDatabase::open(path, HistoryDatabase::Access::ReadWrite, problem);
        if (!db.isOpen()) {
            std::fprintf(stderr, "%s\n", problem.message.c_str());
            return 1;
        }
        std::vector<AnswerOutcome> day;
        for (int d = 0; d < Days; ++d) {
            day.clear();
            const int count = Answers / Days + (d < Answers % Days ? 1 : 0);
            const std::int64_t sessionStart = now - (Days - d) * DayMs + 18 * 3600000;
            for (int i = 0; i < count; ++i) {
                day.push_back(randomAnswer(random, sessionStart + i * 2500));
            }
            if (!db.insert(day, problem)) {
                std::fprintf(stderr, "%s\n", problem.message.c_str());
                return 1;
            }
        }
    }
    std::printf("filled %d answers over %d days in %.0f ms; file %.1f MB\n", Answers, Days,
                msSince(start), static_cast<double>(std::filesystem::file_size(path)) / 1e6);

    // Opening for writing checks the pages; it runs on the writer thread.
    print("open for writing, with the integrity check (writer thread)", timed([&] {
              HistoryProblem problem;
              HistoryDatabase db =
                  HistoryDatabase::open(path, HistoryDatabase::Access::ReadWrite, problem);
          }));

    HistoryProblem problem;
    const Timing open = timed([&] { HistoryQueries q(path, problem); });
    HistoryQueries queries(path, problem);
    HistoryFilter all;
    HistoryFilter recentDictation;
    recentDictation.exercise = Exercise::NotesDictation;
    recentDictation.fromMs = now - 30 * DayMs;
    HistoryFilter voice;
    voice.input = AnswerInput::Voice;

    std::size_t sink = 0;
    print("open for reading", open);
    const Timing window = timed([&] {
        HistoryQueries q(path, problem);
        const HistorySummary s = q.summary(all, 8, now, 0, 10);
        sink += s.pitches.size() + s.days.size() + s.confusions.size();
    });
    print("window opening: open + summary (pitches, 8 weeks, confusions)", window);
    print("summary, notes dictation of the last 30 days",
          timed([&] { sink += queries.summary(recentDictation, 8, now, 0, 10).pitches.size(); }));
    print("summary, voice answers",
          timed([&] { sink += queries.summary(voice, 8, now, 0, 10).pitches.size(); }));
    print("per pitch accuracy and median time alone, all answers",
          timed([&] { sink += queries.pitchStatistics(all).size(); }));
    print("answers and accuracy per day alone, last 8 weeks",
          timed([&] { sink += queries.dailyStatistics(all, 8, now).size(); }));
    print("answers and accuracy per day alone, last 52 weeks",
          timed([&] { sink += queries.dailyStatistics(all, 52, now).size(); }));
    print("10 most frequent confusions alone, all answers",
          timed([&] { sink += queries.confusions(all, 0, 10).size(); }));
    std::vector<int> selection;
    for (int p = 36; p <= 83; ++p) {
        selection.push_back(p);
    }
    print("draw weights of 48 pitches", timed([&] {
              sink += weakSpotWeights(selection, [&](int pitch) {
                          return queries.recentOutcomes(Exercise::NotesDictation, pitch, 4);
                      }).size();
          }));
    print("CSV export of all answers", timed([&] {
              std::ostringstream out;
              queries.exportCsv(all, out);
              sink += out.str().size();
          }));
    double load[1] = {0};
    if (getloadavg(load, 1) == 1) {
        std::printf("(load average while measuring: %.1f)\n", load[0]);
    }

    // What the user-interface thread pays per answer while the writer commits: a burst far
    // faster than any game (every call timed), then a game's pace.
    {
        HistoryWriter writer(path);
        std::vector<double> costs;
        std::mt19937 r(7);
        const AnswerOutcome sample = randomAnswer(r, now);
        for (int i = 0; i < 20000; ++i) {
            const auto t = Clock::now();
            writer.record(sample);
            costs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
        }
        for (int i = 0; i < 200; ++i) {
            const auto t = Clock::now();
            writer.record(sample);
            costs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        std::sort(costs.begin(), costs.end());
        const auto at = [&](double q) {
            return costs[static_cast<std::size_t>(q * static_cast<double>(costs.size() - 1))];
        };
        const auto flushStart = Clock::now();
        const bool flushed = writer.flush(std::chrono::seconds(30));
        std::printf("record() on the UI thread, %zu calls: median %.2f us, 99.9%% %.2f us, "
                    "max %.2f us\n",
                    costs.size(), at(0.5), at(0.999), costs.back());
        std::printf("flush of the rest %s in %.1f ms\n", flushed ? "done" : "FAILED",
                    msSince(flushStart));

        // The same loop appending to a queue of its own, with no writer: its maximum is what
        // the machine's scheduling alone adds.
        std::deque<AnswerOutcome> alone;
        double aloneMax = 0;
        for (int i = 0; i < 20000; ++i) {
            const auto t = Clock::now();
            alone.push_back(sample);
            aloneMax = std::max(
                aloneMax, std::chrono::duration<double, std::micro>(Clock::now() - t).count());
        }
        std::printf("the same calls on a plain queue, no writer thread: max %.2f us\n", aloneMax);
    }
    if (getenv("TESSIMO_BENCH_KEEP") == nullptr) {
        std::filesystem::remove_all(folder);
    } else {
        std::printf("kept %s\n", path.c_str());
    }
    return sink == 0 ? 1 : 0;
}
