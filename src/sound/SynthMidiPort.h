// The MIDI port of the embedded synthesiser: messages become typed requests in a ring that the
// audio thread drains before each render block, so the user-interface thread never touches the
// synth.
#pragma once

#include "sound/ChannelMessageRing.h"
#include "sound/MidiPort.h"
#include "sound/SynthRequest.h"

#include <atomic>
#include <functional>
#include <optional>
#include <utility>

namespace tessimo {

// The request for a message the synthesiser plays: note-off (0x8n), note-on (0x9n) and program
// change (0xCn) with data bytes below 128; nothing for any other message. Any thread.
std::optional<SynthRequest> synthRequestFor(PackedMidiMessage message);

class SynthMidiPort final : public MidiPort {
public:
    // open() fails until markReady(); the ring must outlive the port. afterQueued, when given,
    // runs on the producer thread after each request queued (to wake an idle output stream).
    // Any thread.
    explicit SynthMidiPort(ChannelMessageRing& ring, std::function<void()> afterQueued = {})
        : ring_(ring), afterQueued_(std::move(afterQueued)) {}

    // Succeeds once the synthesiser renders. User-interface thread (the ring's producer).
    bool open() override { return ready_.load(std::memory_order_acquire); }

    // Queues a playable message; false when it is not playable or the ring is full.
    // User-interface thread (the ring's producer).
    bool send(PackedMidiMessage message) override;

    // Queues the silencing of every channel. User-interface thread (the ring's producer).
    bool reset() override { return queue(SynthRequest::silenceAll()); }

    // Called once the ring's consumer runs. Any thread.
    void markReady() { ready_.store(true, std::memory_order_release); }

private:
    bool queue(const SynthRequest& request);

    ChannelMessageRing& ring_;
    std::function<void()> afterQueued_;
    std::atomic<bool> ready_{false};
};

} // namespace tessimo
