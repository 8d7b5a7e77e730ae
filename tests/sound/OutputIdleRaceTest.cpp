// A message queued just as the output stream stops for silence must still be played without
// waiting for a later message. The stream is modelled as PortAudio runs one: a thread calling
// the callback until it asks to finish, joined and started afresh on restart.
#include "sound/ChannelMessageRing.h"
#include "sound/OutputIdleGate.h"
#include "sound/SynthMidiPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace tessimo;

namespace {

class ModelStream {
public:
    ModelStream(ChannelMessageRing& ring, OutputIdleGate& gate) : ring_(ring), gate_(gate) {}
    ~ModelStream() {
        if (thread_.joinable())
            thread_.join();
    }

    // Restarts the callback thread; the previous one has finished or is finishing.
    void restart() {
        if (thread_.joinable())
            thread_.join();
        gate_.restarted(true);
        thread_ = std::thread([this] { run(); });
    }

    std::size_t applied() const { return applied_.load(); }

private:
    void run() {
        for (;;) {
            ring_.drain([this](const SynthRequest&) { applied_.fetch_add(1); });
            // Every block is silent and one frame long, so the stream stops as soon as the ring
            // is empty: the stop decision races with nearly every message.
            // The audio thread may be preempted between looking at the ring and acting on it:
            // a varying pause after each look widens that window.
            const auto look = [this] {
                const bool pending = ring_.hasPending();
                for (unsigned spin = 0, n = (looks_++ * 2654435761u) % 512; spin < n; ++spin)
                    spinCounter_.fetch_add(1, std::memory_order_relaxed);
                return pending;
            };
            if (!gate_.continueAfterBlock(true, 1, look))
                return;
        }
    }

    ChannelMessageRing& ring_;
    OutputIdleGate& gate_;
    std::atomic<std::size_t> applied_{0};
    std::atomic<unsigned> spinCounter_{0};
    unsigned looks_ = 0; // callback thread only (one at a time)
    std::thread thread_;
};

TEST(OutputIdleRace, EveryMessageIsPlayedWithoutWaitingForTheNext) {
    ChannelMessageRing ring;
    OutputIdleGate gate(1);
    ModelStream stream(ring, gate);
    SynthMidiPort port(ring, [&] {
        if (gate.claimRestart())
            stream.restart();
    });
    port.markReady();
    stream.restart();

    constexpr std::size_t Messages = 5000;
    std::size_t stranded = 0;
    std::size_t restarts = 0;
    std::atomic<std::size_t> spinCounter{0};
    for (std::size_t i = 0; i < Messages && stranded == 0; ++i) {
        const bool wasIdle = gate.isIdle();
        ASSERT_TRUE(port.send(packMidiMessage(0x90, 60, 0)));
        restarts += wasIdle;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (stream.applied() < i + 1) {
            if (std::chrono::steady_clock::now() > deadline) {
                ++stranded;
                break;
            }
            std::this_thread::yield();
        }
        // Vary where the stream is in its stop decision when the next message comes.
        for (std::size_t spin = 0, n = (i * 7919) % 64; spin < n; ++spin)
            spinCounter.fetch_add(1, std::memory_order_relaxed);
    }
    EXPECT_EQ(stranded, 0u) << "a message waited for a stopped stream";
    // The stream really did stop between messages, so the restart path was exercised.
    EXPECT_GT(restarts, 0u);
    // Leave the stream stopped so that its thread can be joined.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!gate.isIdle() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
}

} // namespace
