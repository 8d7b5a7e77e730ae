// Writes a PNG picture of the statistics window over eight weeks of sample practice (a
// history file of its own in a temporary folder), for the README.
// Usage: tessimo_statistics_shot DIR   (statistics-window.png, or -200 at twice the scale)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "history/HistoryDatabase.h"
#include "model/Pitch.h"
#include "shell/statistics/StatisticsWindow.h"

using namespace tessimo;

namespace {

constexpr std::int64_t DayMs = 86400000;

// A learner of both staves: the notes around middle C are sure and quick, the ledger-line
// notes and the sharps less so; mistakes land a step away.
std::vector<AnswerOutcome> samplePractice(std::int64_t now) {
    std::mt19937 random(2026);
    std::vector<AnswerOutcome> rows;
    for (int day = 55; day >= 0; --day) {
        if (random() % 7 == 0) {
            continue; // a day off
        }
        const int count = 25 + static_cast<int>(random() % 40);
        const double progress = 1.0 - day / 80.0;
        for (int i = 0; i < count; ++i) {
            AnswerOutcome a;
            a.atMs = now - day * DayMs - 3 * 3600000 + i * 4000;
            a.user = "alto";
            const bool recognize = random() % 4 == 0;
            a.exercise = recognize ? Exercise::Recognize : Exercise::NotesDictation;
            a.input = recognize ? AnswerInput::Voice : AnswerInput::Mouse;
            a.pitchClassOnly = recognize;
            const int pitch = 43 + static_cast<int>(random() % 36);
            a.expected = PitchGroup::single(pitch);
            const double hard = std::abs(pitch - 60) / 18.0 + (isBlackKey(pitch) ? 0.35 : 0.0);
            const double wrongChance = std::clamp(0.05 + 0.5 * hard * (1.2 - progress), 0.0, 0.9);
            const double roll = static_cast<double>(random() % 1000) / 1000.0;
            if (roll < 0.03) {
                a.outcome = Outcome::Missed;
            } else if (roll < 0.03 + wrongChance) {
                a.outcome = Outcome::Wrong;
                a.given = PitchGroup::single(pitch + (random() % 3 == 0 ? -1 : 2));
                a.answerMs = 1400 + static_cast<int>(random() % 1800);
            } else {
                a.outcome = Outcome::Right;
                a.given = a.expected;
                a.answerMs = 700 + static_cast<int>(hard * 1500) + static_cast<int>(random() % 900);
            }
            rows.push_back(a);
        }
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tessimo_statistics_shot DIR\n");
        return 2;
    }
    QTemporaryDir folder;
    const std::string path =
        QDir(folder.path()).filePath(QStringLiteral("historyalto.sqlite")).toStdString();
    const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    {
        HistoryProblem problem;
        HistoryDatabase db =
            HistoryDatabase::open(path, HistoryDatabase::Access::ReadWrite, problem);
        if (!db.isOpen() || !db.insert(samplePractice(now), problem)) {
            std::fprintf(stderr, "%s\n", problem.message.c_str());
            return 1;
        }
    }
    bool weakSpots = true;
    StatisticsSource source;
    source.userName = QStringLiteral("alto");
    source.historyPath = path;
    source.convention = 1;
    source.now = [now] { return now; };
    source.weakSpotPractice = [&] { return weakSpots; };
    source.setWeakSpotPractice = [&](bool on) {
        weakSpots = on;
        return QString();
    };
    StatisticsWindow window(source);
    window.periodBox()->setCurrentIndex(2); // 13 weeks
    window.resize(1000, 760);
    window.show();
    QApplication::processEvents();
    const QString suffix = window.devicePixelRatioF() > 1.5 ? QStringLiteral("-200") : QString();
    const QString out = QDir(QString::fromLocal8Bit(argv[1]))
                            .filePath(QStringLiteral("statistics-window%1.png").arg(suffix));
    if (!window.grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
