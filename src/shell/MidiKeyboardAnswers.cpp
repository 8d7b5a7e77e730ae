#include "shell/MidiKeyboardAnswers.h"

#include "game/CBrindelView.h"
#include "game/GameMode.h"
#include "model/AnswerOutcome.h"

namespace tessimo {

namespace {

bool answersGroups(GameMode mode) {
    return mode == GameMode::IntervalDictation || mode == GameMode::ChordsDictation;
}

} // namespace

// A new exercise starts with no key held and no chord half struck.
void MidiKeyboardAnswers::followMode() {
    const GameMode mode = engine_.gameMode();
    if (modeSeen_ && mode == mode_) {
        return;
    }
    mode_ = mode;
    modeSeen_ = true;
    grouper_.reset(answersGroups(mode) ? AnswerShape::KeyGroup : AnswerShape::SingleKey);
}

int MidiKeyboardAnswers::judge(const KeyAnswer& answer) {
    if (answer.keys.empty()) {
        return 0;
    }
    if (answer.keys.size() == 1) {
        engine_.judgeKey(answer.keys.front());
        return 1;
    }
    PitchGroup keys; // more keys than any chord has are no better an answer: the first ones
    for (std::uint8_t key : answer.keys) {
        keys.add(key);
    }
    engine_.judgeKeys(keys);
    return 1;
}

int MidiKeyboardAnswers::deliver(std::span<const MidiKeyEvent> events, std::int64_t nowMs) {
    int answers = 0;
    for (const MidiKeyEvent& event : events) {
        followMode();
        if (isPlayMode(mode_)) {
            if (event.action == KeyAction::Press) {
                engine_.keyPressed(event.key, event.velocity);
            } else {
                engine_.keyReleased(event.key);
            }
            continue;
        }
        if (auto answer = grouper_.feed(event, event.timeNs / 1'000'000)) {
            answers += judge(*answer);
        }
    }
    followMode();
    if (auto answer = grouper_.poll(nowMs)) {
        answers += judge(*answer);
    }
    return answers;
}

} // namespace tessimo
