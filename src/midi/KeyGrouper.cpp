#include "midi/KeyGrouper.h"

#include <algorithm>

namespace tessimo {

void KeyGrouper::reset(AnswerShape shape) {
    shape_ = shape;
    releaseAll();
}

void KeyGrouper::releaseAll() {
    held_.reset();
    open_ = false;
    waitForUp_ = false;
    group_ = {};
}

std::optional<KeyAnswer> KeyGrouper::closeGroup() {
    open_ = false;
    waitForUp_ = held_.any();
    KeyAnswer answer = std::move(group_);
    group_ = {};
    return answer;
}

std::optional<KeyAnswer> KeyGrouper::feed(const MidiKeyEvent& event, std::int64_t timeMs) {
    const std::uint8_t key = event.key & 0x7F;
    if (event.action == KeyAction::Release) {
        held_.reset(key);
        if (!open_ && held_.none()) {
            waitForUp_ = false;
        }
        return std::nullopt;
    }

    if (shape_ == AnswerShape::SingleKey) {
        held_.set(key);
        return KeyAnswer{{key}, timeMs};
    }

    std::optional<KeyAnswer> completed;
    if (open_ && timeMs - group_.firstPressMs > GroupWindowMs) {
        completed = closeGroup(); // the window passed before any tick closed it
    }
    held_.set(key);
    if (open_) {
        if (std::find(group_.keys.begin(), group_.keys.end(), key) == group_.keys.end()) {
            group_.keys.push_back(key);
        }
    } else if (!waitForUp_) {
        open_ = true;
        group_ = KeyAnswer{{key}, timeMs};
    } // else: a late key of a chord still held; presses count again once everything is up
    return completed;
}

std::optional<KeyAnswer> KeyGrouper::poll(std::int64_t nowMs) {
    if (open_ && nowMs - group_.firstPressMs > GroupWindowMs) {
        return closeGroup();
    }
    return std::nullopt;
}

} // namespace tessimo
