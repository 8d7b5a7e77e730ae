// Single-producer single-consumer ring of key events: one MIDI input thread pushes, the
// user-interface thread drains. Lock-free, never allocates after construction, never waits.
#pragma once

#include "midi/MidiEvent.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tessimo {

class MidiEventRing {
public:
    // Events that fit at once; a power of two. A player cannot fill it between two ticks.
    static constexpr std::size_t Capacity = 512;

    // Producer thread only. Returns false, dropping the event and counting it, when full.
    bool push(const MidiKeyEvent& event) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity) {
            dropped_.fetch_add(1, std::memory_order_relaxed);
            return false;
        }
        slots_[tail & (Capacity - 1)] = event;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer thread only. Calls apply(event) for every event pushed so far, in order.
    template <typename Apply> void drain(Apply&& apply) {
        std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t tail = tail_.load(std::memory_order_acquire);
        while (head != tail) {
            apply(slots_[head & (Capacity - 1)]);
            ++head;
            head_.store(head, std::memory_order_release);
        }
    }

    // Events refused because the ring was full. Any thread.
    std::uint64_t dropped() const noexcept { return dropped_.load(std::memory_order_relaxed); }

private:
    static_assert((Capacity & (Capacity - 1)) == 0, "Capacity must be a power of two");

    std::array<MidiKeyEvent, Capacity> slots_{};
    alignas(64) std::atomic<std::size_t> head_{0}; // next slot to read; written by the consumer
    alignas(64) std::atomic<std::size_t> tail_{0}; // next slot to write; written by the producer
    std::atomic<std::uint64_t> dropped_{0};
};

} // namespace tessimo
