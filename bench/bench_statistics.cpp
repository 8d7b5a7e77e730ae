// Prints how long the statistics window takes to open over a year of daily practice (200 000
// answers in 365 daily sessions): the report alone (everything the window shows, computed
// from the history), then the window built, shown and painted whole, then a change of filter.
// Runs on the offscreen platform unless another is chosen.
#include <QApplication>
#include <QComboBox>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include <stdlib.h>
#include <time.h>

#include "history/HistoryDatabase.h"
#include "history/HistoryQueries.h"
#include "shell/statistics/StatisticsWindow.h"
#include "statistics/StatisticsReport.h"

using namespace tessimo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Answers = 200000;
constexpr int Days = 365;
constexpr std::int64_t DayMs = 86400000;

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Timing {
    double cpu = 0;
    double wall = 0;
    double bestWall = 0;
};

// The median of seven runs (processor time of this thread, and time passed), and the fastest.
template <typename F> Timing timed(F&& f) {
    std::vector<double> cpu;
    std::vector<double> wall;
    for (int i = 0; i < 7; ++i) {
        const double c = cpuMs();
        const auto start = Clock::now();
        f();
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        cpu.push_back(cpuMs() - c);
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    return {cpu[3], wall[3], wall[0]};
}

void print(const char* what, Timing t) {
    std::printf("%-62s %7.1f ms cpu %7.1f ms wall (fastest %.1f)\n", what, t.cpu, t.wall,
                t.bestWall);
}

// Mostly single notes (the heat map), some intervals and chords; voice and instrument in
// Recognize; harder notes far from middle C.
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
    const int pitch = 36 + static_cast<int>(random() % 48);
    a.expected = PitchGroup::single(pitch);
    if (a.exercise == Exercise::IntervalDictation) {
        a.expected.add(std::min(83, pitch + 1 + static_cast<int>(random() % 12)));
    } else if (a.exercise == Exercise::ChordsDictation) {
        a.expected.add(std::min(83, pitch + 4));
        a.expected.add(std::min(83, pitch + 7));
    }
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

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    std::string pattern =
        (std::filesystem::temp_directory_path() / "tessimo-bench-statistics-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = pattern;
    const std::string path = (folder / "historybench.sqlite").string();
    const std::int64_t now = 1780000000000;
    {
        HistoryProblem problem;
        HistoryDatabase db =
            HistoryDatabase::open(path, HistoryDatabase::Access::ReadWrite, problem);
        if (!db.isOpen()) {
            std::fprintf(stderr, "%s\n", problem.message.c_str());
            return 1;
        }
        std::mt19937 random(42);
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
    std::printf("%d answers over %d days; file %.1f MB\n", Answers, Days,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);

    StatisticsSource source;
    source.userName = QStringLiteral("alto");
    source.historyPath = path;
    source.now = [now] { return now; };
    std::size_t sink = 0;

    StatisticsChoice fourWeeks; // the window's first choice
    StatisticsChoice allTime;
    allTime.period = StatisticsPeriod::AllTime;
    print("report: open the history + everything shown, last 4 weeks", timed([&] {
              HistoryProblem problem;
              const HistoryQueries queries(path, problem);
              sink += buildReport(queries, fourWeeks, now, 0).byAccuracy.size();
          }));
    print("report: open the history + everything shown, all time", timed([&] {
              HistoryProblem problem;
              const HistoryQueries queries(path, problem);
              sink += buildReport(queries, allTime, now, 0).days.points.size();
          }));
    print("window: built, shown and painted whole (first choice)", timed([&] {
              StatisticsWindow window(source);
              window.show();
              sink += static_cast<std::size_t>(window.grab().width());
          }));
    {
        StatisticsWindow window(source);
        window.show();
        int index = 0;
        print("window: another exercise chosen, repainted", timed([&] {
                  index = index % 4 + 1;
                  window.exerciseBox()->setCurrentIndex(index);
                  sink += static_cast<std::size_t>(window.grab().width());
              }));
        window.exerciseBox()->setCurrentIndex(0);
        print("window: all time chosen, repainted", timed([&] {
                  window.periodBox()->setCurrentIndex(4);
                  sink += static_cast<std::size_t>(window.grab().width());
                  window.periodBox()->setCurrentIndex(3);
              }));
    }
    double load[1] = {0};
    if (getloadavg(load, 1) == 1) {
        std::printf("(load average while measuring: %.1f)\n", load[0]);
    }
    std::filesystem::remove_all(folder);
    return sink == 0 ? 1 : 0;
}
