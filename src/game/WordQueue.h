// Hand-over of recognised word slots from the capture thread (not real time) to the user-interface
// thread: a fixed-size single-producer single-consumer ring of slot numbers. Nothing is allocated,
// locked or waited for on either side.
#pragma once

#include <cstdint>

#include "concurrency/SpscRing.h"

namespace tessimo {

class WordQueue {
public:
    static constexpr std::uint32_t Capacity = 64;

    // Producer side (the capture thread, one at a time). Returns false, dropping the word, when
    // the queue is full: a user cannot say 64 words between two ticks.
    bool push(int slot) { return ring_.push(static_cast<std::int16_t>(slot)); }

    // Consumer side (the user-interface thread). Returns false when empty.
    bool pop(int& slot) {
        std::int16_t value = 0;
        if (!ring_.pop(value)) {
            return false;
        }
        slot = value;
        return true;
    }

    // Consumer side: drops every queued word.
    void clear() {
        ring_.drain([](std::int16_t) {});
    }

private:
    SpscRing<std::int16_t, Capacity> ring_;
};

} // namespace tessimo
