// Hand-over of recognised word slots from the capture thread (not real time) to the user-interface
// thread: a fixed-size single-producer single-consumer ring of slot numbers. Nothing is allocated,
// locked or waited for on either side.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace tessimo {

class WordQueue {
public:
    static constexpr std::uint32_t Capacity = 64;

    // Producer side (the capture thread, one at a time). Returns false, dropping the word, when
    // the queue is full: a user cannot say 64 words between two ticks.
    bool push(int slot) {
        const std::uint32_t tail = tail_.load(std::memory_order_relaxed);
        const std::uint32_t head = head_.load(std::memory_order_acquire);
        if (tail - head >= Capacity) {
            return false;
        }
        slots_[tail % Capacity] = static_cast<std::int16_t>(slot);
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer side (the user-interface thread). Returns false when empty.
    bool pop(int& slot) {
        const std::uint32_t head = head_.load(std::memory_order_relaxed);
        const std::uint32_t tail = tail_.load(std::memory_order_acquire);
        if (head == tail) {
            return false;
        }
        slot = slots_[head % Capacity];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Consumer side: drops every queued word.
    void clear() {
        int ignored = 0;
        while (pop(ignored)) {
        }
    }

private:
    std::array<std::int16_t, Capacity> slots_{};
    std::atomic<std::uint32_t> head_{0};
    std::atomic<std::uint32_t> tail_{0};
};

} // namespace tessimo
