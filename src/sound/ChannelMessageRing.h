// Single-producer single-consumer ring of synthesiser requests: the user-interface thread
// pushes, the audio thread drains at the start of each render block. Lock-free, never
// allocates after construction, never waits.
#pragma once

#include "sound/SynthRequest.h"

#include <array>
#include <atomic>
#include <cstddef>

namespace tessimo {

class ChannelMessageRing {
public:
    // Requests that fit at once; a power of two. Far more than one MidiPlay call sends.
    static constexpr std::size_t Capacity = 1024;

    // Producer thread only. Returns false, dropping the request, when the ring is full.
    bool push(const SynthRequest& request) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity)
            return false;
        slots_[tail & (Capacity - 1)] = request;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer thread only. Calls apply(request) for every request pushed so far, in order.
    template <typename Apply> void drain(Apply&& apply) noexcept {
        std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t tail = tail_.load(std::memory_order_acquire);
        while (head != tail) {
            apply(slots_[head & (Capacity - 1)]);
            ++head;
            head_.store(head, std::memory_order_release);
        }
    }

    // True when requests wait that drain has not applied yet. Consumer thread only.
    bool hasPending() const noexcept {
        return tail_.load(std::memory_order_acquire) != head_.load(std::memory_order_relaxed);
    }

private:
    static_assert((Capacity & (Capacity - 1)) == 0, "Capacity must be a power of two");

    std::array<SynthRequest, Capacity> slots_{};
    alignas(64) std::atomic<std::size_t> head_{0}; // next slot to read; written by the consumer
    alignas(64) std::atomic<std::size_t> tail_{0}; // next slot to write; written by the producer
};

} // namespace tessimo
