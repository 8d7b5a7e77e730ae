// A view wired to fakes of every platform service, with a fake clock, for whole-game tests.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/CBrindelView.h"
#include "game/MersenneRandom.h"
#include "sound/MidiOutput.h"
#include "support/FakeRecognizer.h"

namespace tessimo::testing {

class FakeClock : public Clock {
public:
    std::uint32_t now = 100000;
    std::uint32_t tickCount() override { return now; }
};

class FakeTimer : public WindowTimer {
public:
    std::map<int, int> running; // id -> period
    int nextId = 1;
    int starts = 0;
    int startTimer(int timerNumber, int periodMs) override {
        (void)timerNumber;
        ++starts;
        running[nextId] = periodMs;
        return nextId++;
    }
    void killTimer(int id) override { running.erase(id); }
    int period() const { return running.empty() ? 0 : running.begin()->second; }
};

class FakeWindow : public ViewWindow {
public:
    ClientSize size{2000, 3200}; // device points are logical points
    int repaints = 0;
    std::vector<DeviceRect> rects;
    void repaintAll() override { ++repaints; }
    void repaintRect(const DeviceRect& rect) override { rects.push_back(rect); }
    ClientSize clientSize() const override { return size; }
};

class FakeConfirmation : public ConfirmationBox {
public:
    bool answer = true;
    int asked = 0;
    std::string caption;
    std::string text;
    bool confirm(const std::string& c, const std::string& t) override {
        ++asked;
        caption = c;
        text = t;
        return answer;
    }
};

class FakeDialogs : public ExerciseDialogs {
public:
    bool profileOk = true;
    std::string chosenName;
    bool configureOk = true;
    std::function<void(SettingsRecord&)> edit;
    std::vector<std::string> refusals; // what the dialog would have shown
    // OK with chosenName; a refused switch is shown and then the user cancels.
    bool showProfileDialog(std::string& userName, const ProfileSwitcher& switcher) override {
        if (!profileOk) {
            return false;
        }
        const ProfileSwitchResult result = switcher(chosenName);
        if (!result.switched) {
            refusals.push_back(result.message);
            return false;
        }
        userName = chosenName;
        return true;
    }
    bool showConfigureDialog(SettingsRecord& settings) override {
        if (configureOk && edit) {
            edit(settings);
        }
        return configureOk;
    }
};

class FakeStatus : public StatusLine {
public:
    std::vector<std::string> messages;
    void showMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::vector<WordToRecordAgain>> offers; // every offer made, in order
    void offerRecordAgain(const std::vector<WordToRecordAgain>& words) override {
        offers.push_back(words);
    }
};

class FakeManuals : public ManualOpener {
public:
    std::vector<std::string> opened;
    void openManual(const std::string& path) override { opened.push_back(path); }
};

class RecordingMidi : public MidiOutput {
public:
    struct Call {
        int program;
        std::vector<int> keys;
        std::vector<int> lengths;
        bool sustain;
    };
    std::vector<Call> calls;
    int silences = 0; // silenceAll calls
    int silenceAll() override {
        ++silences;
        return 0;
    }
    int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths, int count,
                 std::uint8_t velocity, bool sustain) override {
        (void)velocity;
        Call call{program, {}, {}, sustain};
        for (int i = 0; i < count; ++i) {
            call.keys.push_back(keys[i]);
            call.lengths.push_back(lengths[i]);
        }
        calls.push_back(call);
        return 0;
    }
    struct Key {
        int program; // -1 for a release
        int key;
        int velocity;
    };
    std::vector<Key> keys; // keyDown and keyUp calls in order
    int keyDown(int program, std::uint8_t key, std::uint8_t velocity) override {
        keys.push_back({program, key, velocity});
        return 0;
    }
    int keyUp(std::uint8_t key) override {
        keys.push_back({-1, key, 0});
        return 0;
    }
    std::vector<Call> notes() const { // without MidiStop
        std::vector<Call> result;
        for (const auto& c : calls) {
            if (c.program != -1) {
                result.push_back(c);
            }
        }
        return result;
    }
};

// Draws from a script first, then from a seeded generator.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::uint32_t seed = 1) : fallback(seed) {}
    std::deque<std::uint32_t> script;
    MersenneRandom fallback;
    std::uint32_t next() override {
        if (!script.empty()) {
            const std::uint32_t v = script.front();
            script.pop_front();
            return v;
        }
        return fallback.next();
    }
};

struct EngineRig {
    FakeClock clock;
    FakeTimer timer;
    FakeWindow window;
    FakeConfirmation confirmation;
    FakeDialogs dialogs;
    FakeManuals manuals;
    RecordingMidi midi;
    FakeRecognizer recognizer;
    ScriptedRandom random;
    FakeStatus status;
    CBrindelView view{ViewServices{clock, timer, window, confirmation, dialogs, manuals, midi,
                                   recognizer, random, status}};

    explicit EngineRig(std::uint32_t seed = 1) : random(seed) {}

    // Applies settings and prepares the exercise as start-up does.
    void prepare(const SettingsRecord& s) {
        view.settings() = s;
        view.settings().buildDurationList();
        view.prepareExercise();
    }

    // One timer period passes: the clock moves and the tick runs.
    void tick() {
        clock.now += static_cast<std::uint32_t>(timer.period() > 0 ? timer.period() : 40);
        if (!timer.running.empty()) {
            view.onTimer(1);
        }
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            tick();
        }
    }
    bool running() const { return !timer.running.empty(); }

    // A device point (identity client size) for a pitch on the staff.
    DevicePoint staffPoint(int pitch, int x = 1000) const {
        return {x, view.staffLayout().pitchY(pitch)};
    }
};

inline SettingsRecord settingsWith(std::initializer_list<int> pitches) {
    SettingsRecord s;
    s.notes.fill(0);
    for (int p : pitches) {
        s.notes[static_cast<std::size_t>(p - 36)] = 1;
    }
    return s;
}

inline SettingsRecord settingsWithRange(int from, int to) {
    SettingsRecord s;
    s.notes.fill(0);
    for (int p = from; p <= to; ++p) {
        s.notes[static_cast<std::size_t>(p - 36)] = 1;
    }
    return s;
}

} // namespace tessimo::testing
