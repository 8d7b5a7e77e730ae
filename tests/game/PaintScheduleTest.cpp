// The engine keeps time on its ticks: how often the window happens to be painted (every tick,
// now and then, or never while it is covered) changes neither what is heard nor how answers
// are judged.
#include <gtest/gtest.h>

#include <vector>

#include "EngineRig.h"

namespace tessimo {
namespace {

using testing::EngineRig;
using testing::settingsWithRange;

// Every n-th tick is followed by a paint; 0 paints never.
struct Schedule {
    int paintEvery;
};

void paint(EngineRig& rig) {
    (void)rig.view.paintFrame();
}

struct Heard {
    std::vector<std::vector<int>> keys; // every MIDI call's keys, in order
    std::vector<int> callTicks;         // the tick after which each call was made
    int ok = 0;
    int errors = 0;
    int unknown = 0;
    bool operator==(const Heard&) const = default;
};

void collect(const EngineRig& rig, std::size_t& seen, int tick, Heard& heard) {
    for (; seen < rig.midi.calls.size(); ++seen) {
        if (rig.midi.calls[seen].program != -1) {
            heard.keys.push_back(rig.midi.calls[seen].keys);
            heard.callTicks.push_back(tick);
        }
    }
}

void runTicks(EngineRig& rig, Schedule schedule, int ticks,
              const std::function<void(EngineRig&)>& answer, Heard& heard) {
    std::size_t seen = rig.midi.calls.size();
    for (int i = 1; i <= ticks; ++i) {
        rig.clock.now += static_cast<std::uint32_t>(rig.timer.period());
        if (rig.running()) {
            rig.view.onTimer(1);
        }
        if (schedule.paintEvery > 0 && i % schedule.paintEvery == 0) {
            paint(rig);
        }
        collect(rig, seen, i, heard);
        if (answer) {
            answer(rig);
            collect(rig, seen, i, heard);
        }
    }
    heard.ok = rig.view.state().okCount;
    heard.errors = rig.view.state().errorCount;
    heard.unknown = rig.view.state().unknownCount;
}

Heard listenNotes(Schedule schedule) {
    EngineRig rig(7);
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 10;
    s.durations.fill(0);
    s.durations[13] = 1; // sixty-fourths: every note lasts one 20 ms tick
    rig.prepare(s);
    EXPECT_TRUE(rig.view.onCommand(ListenNotesCommand));
    Heard heard;
    runTicks(rig, schedule, 400, nullptr, heard);
    return heard;
}

// Notes Dictation: the user clicks the right pitch of every other question as soon as it is the
// first unanswered one, and a wrong pitch for the others.
Heard notesDictation(Schedule schedule) {
    EngineRig rig(11);
    SettingsRecord s = settingsWithRange(60, 72);
    s.speed = 6;
    rig.prepare(s);
    EXPECT_TRUE(rig.view.onCommand(NotesDictationCommand));
    int answered = 0;
    const auto answer = [&answered](EngineRig& r) {
        const CNote* first = r.view.questionNotes().firstUnanswered();
        if (first == nullptr || first->x > 1700) {
            return;
        }
        const int pitch = answered % 2 == 0 ? first->pitch : (first->pitch == 60 ? 62 : 60);
        ++answered;
        r.view.onMouseMove(r.staffPoint(pitch), false);
        r.view.onLButtonDown(r.staffPoint(pitch));
    };
    Heard heard;
    runTicks(rig, schedule, 1500, answer, heard);
    return heard;
}

// Recognize: every recognised word names the first unanswered note right, once it is on the
// staff.
Heard recognize(Schedule schedule) {
    EngineRig rig(13);
    rig.recognizer.templates.fill(1);
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    SettingsRecord s = settingsWithRange(60, 72);
    s.soundMode = Instrument;
    s.speed = 6;
    rig.prepare(s);
    EXPECT_TRUE(rig.view.onCommand(RecognizeCommand));
    std::uint8_t last = 255;
    const auto answer = [&last](EngineRig& r) {
        const CNote* first = r.view.questionNotes().firstUnanswered();
        if (first == nullptr || first->x > 1700 || first->pitch == last) {
            return;
        }
        last = first->pitch;
        r.recognizer.recognise(first->wordIndex);
        r.view.judgeRecognizedWords();
    };
    Heard heard;
    runTicks(rig, schedule, 1500, answer, heard);
    return heard;
}

TEST(PaintSchedule, ListenNotesSoundsEveryNoteWhateverThePaints) {
    const Heard everyTick = listenNotes({1});
    EXPECT_GT(everyTick.keys.size(), 300u); // one sixty-fourth per 20 ms tick
    EXPECT_EQ(listenNotes({3}), everyTick);
    EXPECT_EQ(listenNotes({0}), everyTick);
}

TEST(PaintSchedule, NotesDictationJudgesTheSameWhateverThePaints) {
    const Heard everyTick = notesDictation({1});
    EXPECT_GT(everyTick.ok, 5);
    EXPECT_GT(everyTick.errors, 5);
    EXPECT_EQ(notesDictation({3}), everyTick);
    EXPECT_EQ(notesDictation({0}), everyTick);
}

TEST(PaintSchedule, RecognizeJudgesTheSameWhateverThePaints) {
    const Heard everyTick = recognize({1});
    EXPECT_GT(everyTick.ok, 5);
    EXPECT_EQ(everyTick.errors, 0);
    EXPECT_EQ(recognize({3}), everyTick);
    EXPECT_EQ(recognize({0}), everyTick);
}

} // namespace
} // namespace tessimo
