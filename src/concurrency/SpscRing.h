// A fixed ring of plain values from one producer thread to one consumer thread. The storage is
// part of the object, so nothing is allocated, locked or waited for by either side: a value that
// does not fit is refused and counted, and the consumer takes what has arrived. Safe in a
// real-time callback on either side.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace tessimo {

// Thread rules: push, write and the producer's calls come from one thread at a time, pop, read,
// drain and hasPending from one other thread at a time; pushed and dropped from any thread.
template <typename T, std::size_t CapacityValue> class SpscRing {
public:
    // Values that fit at once.
    static constexpr std::size_t Capacity = CapacityValue;

    // Producer. Returns false, refusing the value and counting it, when the ring is full.
    bool push(const T& value) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity) {
            dropped_.fetch_add(1, std::memory_order_relaxed);
            return false;
        }
        slots_[tail & Mask] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Producer. Copies as many of the count values in as fit, in order; the rest are refused
    // and counted. Returns how many went in.
    std::size_t write(const T* values, std::size_t count) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t room = Capacity - (tail - head_.load(std::memory_order_acquire));
        const std::size_t n = count < room ? count : room;
        for (std::size_t i = 0; i < n; ++i) {
            slots_[(tail + i) & Mask] = values[i];
        }
        tail_.store(tail + n, std::memory_order_release);
        if (n < count) {
            dropped_.fetch_add(count - n, std::memory_order_relaxed);
        }
        return n;
    }

    // Consumer. Takes the oldest value into value; returns false, leaving value alone, when the
    // ring is empty.
    bool pop(T& value) noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) {
            return false;
        }
        value = slots_[head & Mask];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Consumer. Copies up to capacity of the oldest values out, in order; returns how many.
    std::size_t read(T* out, std::size_t capacity) noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t available = tail_.load(std::memory_order_acquire) - head;
        const std::size_t n = available < capacity ? available : capacity;
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = slots_[(head + i) & Mask];
        }
        head_.store(head + n, std::memory_order_release);
        return n;
    }

    // Consumer. Calls apply(value) for every value pushed before the call, oldest first; each
    // slot is handed back to the producer as soon as apply returns.
    template <typename Apply>
    void drain(Apply&& apply) noexcept(noexcept(apply(std::declval<const T&>()))) {
        std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t tail = tail_.load(std::memory_order_acquire);
        while (head != tail) {
            apply(static_cast<const T&>(slots_[head & Mask]));
            ++head;
            head_.store(head, std::memory_order_release);
        }
    }

    // Consumer. Whether values wait that have not been taken yet.
    bool hasPending() const noexcept {
        return tail_.load(std::memory_order_acquire) != head_.load(std::memory_order_relaxed);
    }

    // Values that went in since construction, and values refused for want of room. Any thread.
    std::uint64_t pushed() const noexcept { return tail_.load(std::memory_order_acquire); }
    std::uint64_t dropped() const noexcept { return dropped_.load(std::memory_order_relaxed); }

private:
    static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0,
                  "the capacity of a ring must be a power of two");
    static_assert(std::is_trivially_copyable_v<T>,
                  "a ring holds plain values, copied without allocating");
    static constexpr std::size_t Mask = Capacity - 1;

    std::array<T, Capacity> slots_{};
    // The counters only grow (an unsigned wrap keeps the differences right); each has its own
    // cache line so that the two sides do not slow each other down.
    alignas(64) std::atomic<std::size_t> head_{0}; // next value to take; written by the consumer
    alignas(64) std::atomic<std::size_t> tail_{0}; // next slot to fill; written by the producer
    std::atomic<std::uint64_t> dropped_{0};        // written by the producer
};

} // namespace tessimo
