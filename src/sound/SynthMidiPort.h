// The MIDI port of the embedded synthesiser: messages go into a ring that the audio thread
// drains before each render block, so the user-interface thread never touches the synth.
#pragma once

#include "sound/ChannelMessageRing.h"
#include "sound/MidiPort.h"

#include <atomic>
#include <functional>
#include <utility>

namespace tessimo {

// Stands for "silence every channel, keep the programs" in the ring (a system reset status
// byte, which the port never accepts from callers).
inline constexpr PackedMidiMessage SynthResetMessage = 0xFF;

// True for the messages the synthesiser plays: note-off (0x8n), note-on (0x9n) and program
// change (0xCn) with data bytes below 128. Any thread.
bool isPlayableChannelMessage(PackedMidiMessage message);

class SynthMidiPort final : public MidiPort {
public:
    // open() fails until markReady(); the ring must outlive the port. afterQueued, when given,
    // runs on the producer thread after each message queued (to wake an idle output stream).
    // Any thread.
    explicit SynthMidiPort(ChannelMessageRing& ring, std::function<void()> afterQueued = {})
        : ring_(ring), afterQueued_(std::move(afterQueued)) {}

    // Succeeds once the synthesiser renders. User-interface thread (the ring's producer).
    bool open() override { return ready_.load(std::memory_order_acquire); }

    // Queues a playable message; false when it is not playable or the ring is full.
    // User-interface thread (the ring's producer).
    bool send(PackedMidiMessage message) override;

    // Queues the silencing of every channel. User-interface thread (the ring's producer).
    bool reset() override { return queue(SynthResetMessage); }

    // Called once the ring's consumer runs. Any thread.
    void markReady() { ready_.store(true, std::memory_order_release); }

private:
    bool queue(PackedMidiMessage message);

    ChannelMessageRing& ring_;
    std::function<void()> afterQueued_;
    std::atomic<bool> ready_{false};
};

} // namespace tessimo
