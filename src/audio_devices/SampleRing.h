// A fixed ring of 16-bit samples from one producer thread (a real-time capture callback) to one
// consumer thread. Neither side allocates, locks or waits; samples that do not fit are dropped
// and counted.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessimo {

class SampleRing {
public:
    // Capacity is rounded up to a power of two. Allocates here only.
    explicit SampleRing(std::size_t capacity) {
        std::size_t size = 1;
        while (size < capacity)
            size <<= 1;
        buffer_.resize(size);
        mask_ = size - 1;
    }

    // Producer: copies count samples in; returns how many fit (the rest are dropped).
    std::size_t write(const std::int16_t* samples, std::size_t count) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t head = head_.load(std::memory_order_acquire);
        const std::size_t room = buffer_.size() - (tail - head);
        const std::size_t n = count < room ? count : room;
        for (std::size_t i = 0; i < n; ++i)
            buffer_[(tail + i) & mask_] = samples[i];
        tail_.store(tail + n, std::memory_order_release);
        if (n < count)
            dropped_.fetch_add(count - n, std::memory_order_relaxed);
        return n;
    }

    // Consumer: copies up to capacity samples out; returns how many.
    std::size_t read(std::int16_t* out, std::size_t capacity) noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t tail = tail_.load(std::memory_order_acquire);
        const std::size_t available = tail - head;
        const std::size_t n = available < capacity ? available : capacity;
        for (std::size_t i = 0; i < n; ++i)
            out[i] = buffer_[(head + i) & mask_];
        head_.store(head + n, std::memory_order_release);
        return n;
    }

    // Samples written since construction, and dropped for want of room. Any thread.
    std::size_t written() const noexcept { return tail_.load(std::memory_order_acquire); }
    std::size_t dropped() const noexcept { return dropped_.load(std::memory_order_relaxed); }

private:
    std::vector<std::int16_t> buffer_;
    std::size_t mask_ = 0;
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
    std::atomic<std::size_t> dropped_{0};
};

} // namespace tessimo
