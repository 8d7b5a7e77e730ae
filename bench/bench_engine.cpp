// Prints the cost of one timer tick (with the paint entry point that follows it) in every game
// mode, and of one mouse event, against the 40 ms budget of a tick.
#include <chrono>
#include <cstdio>

#include "game/EngineRig.h"

using namespace tessimo;
using testing::EngineRig;

namespace {

constexpr int Ticks = 200000;

double nsPer(int n, const std::chrono::steady_clock::duration& d) {
    return std::chrono::duration<double, std::nano>(d).count() / n;
}

void report(const char* what, double ns) {
    std::printf("%-34s %9.0f ns  (%.5f%% of 40 ms)\n", what, ns, ns / 40e6 * 100.0);
}

SettingsRecord benchSettings(int soundMode) {
    SettingsRecord s;
    s.notes.fill(1);
    s.soundMode = soundMode;
    s.speed = 5;
    s.intervalsUp = 1;
    s.intervalsDown = 1;
    s.wheelChangesType = 1;
    s.durations.fill(1);
    s.buildDurationList();
    return s;
}

void benchMode(const char* name, int command, int soundMode) {
    EngineRig rig;
    rig.recognizer.templates.fill(1);
    rig.recognizer.loadResult = 0;
    rig.view.loadUserFiles();
    rig.prepare(benchSettings(soundMode));
    if (!rig.view.onCommand(command) || !rig.running()) {
        std::printf("%-34s not started\n", name);
        return;
    }
    rig.ticks(500); // fill the staff
    // Record ends by itself after its words: it is started again, outside the measured time.
    std::chrono::steady_clock::duration spent{};
    int done = 0;
    while (done < Ticks) {
        if (!rig.running()) {
            rig.view.onCommand(command);
        }
        const auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < 1000 && rig.running(); ++k, ++done) {
            rig.tick();
        }
        spent += std::chrono::steady_clock::now() - start;
    }
    report(name, nsPer(done, spent));
}

void benchMouse(const char* name, int command, bool wheel) {
    EngineRig rig;
    rig.prepare(benchSettings(Synthesizer));
    rig.view.onCommand(command);
    rig.ticks(200);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Ticks; ++i) {
        const DevicePoint p{1000, 400 + (i * 37) % 1500};
        if (wheel) {
            rig.view.onMouseWheel(i % 3 == 0 ? -120 : 120, p);
        } else {
            rig.view.onMouseMove(p, true);
        }
    }
    report(name, nsPer(Ticks, std::chrono::steady_clock::now() - start));
}

} // namespace

int main() {
    std::printf("One tick (timer step and paint entry point):\n");
    benchMode("  Listen notes", ListenNotesCommand, Synthesizer);
    benchMode("  Notes Dictation", NotesDictationCommand, Synthesizer);
    benchMode("  Play intervals", PlayIntervalsCommand, Synthesizer);
    benchMode("  Interval Dictation", IntervalDictationCommand, Synthesizer);
    benchMode("  Play chords", PlayChordsCommand, Synthesizer);
    benchMode("  Chords Dictation", ChordsDictationCommand, Synthesizer);
    benchMode("  Record", RecordCommand, Instrument);
    benchMode("  Recognize", RecognizeCommand, Instrument);
    std::printf("One mouse event:\n");
    benchMouse("  move, Play notes (drag)", PlayNotesCommand, false);
    benchMouse("  move, Notes Dictation", NotesDictationCommand, false);
    benchMouse("  move, Chords Dictation", ChordsDictationCommand, false);
    benchMouse("  wheel, Chords Dictation", ChordsDictationCommand, true);
    benchMouse("  move, Interval Dictation", IntervalDictationCommand, false);
    return 0;
}
