// One simulated hour of every mode with random mouse input and recognised words: no crash, no
// leak (under the sanitizers), bounded lists, consistent counters.
#include <gtest/gtest.h>

#include <cstdlib>

#include "EngineRig.h"
#include "model/Durations.h"

namespace tessimo {
namespace {

using testing::EngineRig;

constexpr int DefaultTicks = 90000; // one hour of 40 ms ticks

int ticksPerMode() {
    if (const char* v = std::getenv("TESSIMO_SOAK_TICKS")) {
        return std::max(1, std::atoi(v));
    }
    return DefaultTicks;
}

struct ModeRun {
    int command;
    int soundMode;
};

SettingsRecord randomSettings(RandomSource& r, int soundMode) {
    SettingsRecord s;
    auto coin = [&r](unsigned n) { return r.next() % n == 0; };
    const unsigned density = 1 + r.next() % 6;
    for (auto& n : s.notes) {
        n = coin(density) ? 1 : 0;
    }
    for (int i = 1; i <= 12; ++i) {
        s.intervals[static_cast<std::size_t>(i)] = coin(2) ? 1 : 0;
    }
    for (auto& c : s.chords) {
        c = coin(2) ? 1 : 0;
    }
    for (auto& d : s.durations) {
        d = coin(4) ? 1 : 0;
    }
    s.buildDurationList();
    s.beatChoice = static_cast<int>(r.next() % 8);
    s.beatLength = BeatTable[static_cast<std::size_t>(s.beatChoice)];
    s.beatsPerBar = 2 + static_cast<int>(r.next() % 5);
    s.speed = static_cast<int>(r.next() % 11);
    s.intervalsTogether = coin(2);
    s.intervalsUp = coin(2);
    s.intervalsDown = coin(2);
    s.selectedNotesOnly = coin(3);
    s.dragWithMouse = coin(4) ? 0 : 1;
    s.wheelChangesType = coin(2);
    s.errorLimitOn = coin(3);
    s.unknownLimitOn = coin(3);
    s.maxErrors = 1 + static_cast<int>(r.next() % 40);
    s.maxUnknown = 1 + static_cast<int>(r.next() % 40);
    s.soundMode = soundMode;
    s.namingConvention = static_cast<int>(r.next() % 3);
    return s;
}

class Soak : public ::testing::TestWithParam<ModeRun> {};

TEST_P(Soak, OneHourOfRandomPlay) {
    const ModeRun run = GetParam();
    EngineRig rig(static_cast<std::uint32_t>(run.command * 7 + run.soundMode));
    rig.recognizer.templates.fill(1);
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    MersenneRandom r(static_cast<std::uint32_t>(run.command + 1000 * run.soundMode));

    auto restart = [&] {
        for (int attempt = 0; attempt < 10000; ++attempt) {
            rig.prepare(randomSettings(r, run.soundMode));
            if (rig.view.isCommandEnabled(run.command)) {
                rig.view.onCommand(run.command);
                return;
            }
        }
        FAIL() << "no settings enable command " << run.command;
    };
    restart();

    int answers = 0;
    int restarts = 0;
    long judged = 0; // answers and unknown notes counted over the whole hour
    long notesSeen = 0;
    const int ticks = ticksPerMode();
    for (int i = 0; i < ticks; ++i) {
        rig.tick();
        const unsigned roll = r.next() % 100;
        const DevicePoint point{static_cast<int>(r.next() % 2000),
                                static_cast<int>(r.next() % 3200)};
        if (roll < 30) {
            rig.view.onMouseMove(point, r.next() % 2 == 0);
        } else if (roll < 36) {
            // Half of the clicks aim at the first question note.
            const CNote* first = rig.view.questionNotes().firstUnanswered();
            if (first != nullptr && r.next() % 2 == 0) {
                rig.view.onMouseMove({first->x, first->staffY}, false);
            }
            rig.view.onLButtonDown(point);
            ++answers;
        } else if (roll < 40) {
            rig.view.onMouseWheel(r.next() % 2 == 0 ? 120 : -120, point);
        } else if (roll < 44) {
            if (rig.recognizer.recognise(static_cast<int>(r.next() % 84))) {
                ++answers;
            }
        }
        const bool timed = run.command != PlayNotesCommand;
        if ((timed && !rig.running()) || r.next() % 5000 == 0) {
            const GameState& before = rig.view.state();
            judged += before.okCount + before.errorCount + before.unknownCount;
            // A frozen or finished exercise, or the user starting it again.
            restart();
            answers = 0;
            ++restarts;
        }

        const GameState& st = rig.view.state();
        notesSeen +=
            static_cast<long>(rig.view.questionNotes().size() + rig.view.answerGroup().size());
        ASSERT_LE(rig.timer.running.size(), 1u);
        ASSERT_LE(rig.view.questionNotes().size(), 64u);
        ASSERT_LE(rig.view.answerGroup().size(), 24u);
        ASSERT_LE(rig.view.wrongGroup().size(), 24u);
        ASSERT_GE(st.okCount, 0);
        ASSERT_GE(st.errorCount, 0);
        ASSERT_GE(st.unknownCount, 0);
        ASSERT_LE(st.okCount + st.errorCount, answers + 1);
        for (const CNotesList* list :
             {&rig.view.questionNotes(), &rig.view.answerGroup(), &rig.view.wrongGroup()}) {
            for (const CNote& n : *list) {
                ASSERT_GE(n.pitch, 36);
                ASSERT_LE(n.pitch, 83);
                ASSERT_LE(n.durationCode, 13);
            }
        }
    }
    const GameState& last = rig.view.state();
    judged += last.okCount + last.errorCount + last.unknownCount;
    RecordProperty("restarts", restarts);
    // The hour really played: notes appeared and, where answers count, were judged.
    if (run.command != PlayNotesCommand && run.command != RecordCommand) {
        EXPECT_GT(notesSeen, ticks);
    }
    if (run.command == NotesDictationCommand || run.command == IntervalDictationCommand ||
        run.command == ChordsDictationCommand || run.command == RecognizeCommand) {
        EXPECT_GT(judged, ticks / 200);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, Soak,
    ::testing::Values(
        ModeRun{ListenNotesCommand, Synthesizer}, ModeRun{PlayNotesCommand, Voice},
        ModeRun{NotesDictationCommand, Synthesizer}, ModeRun{NotesDictationCommand, Voice},
        ModeRun{PlayIntervalsCommand, Synthesizer}, ModeRun{IntervalDictationCommand, Synthesizer},
        ModeRun{PlayChordsCommand, Synthesizer}, ModeRun{ChordsDictationCommand, Synthesizer},
        ModeRun{RecordCommand, Instrument}, ModeRun{RecognizeCommand, Voice},
        ModeRun{RecognizeCommand, Instrument}, ModeRun{ListenNotesCommand, Voice}));

} // namespace
} // namespace tessimo
