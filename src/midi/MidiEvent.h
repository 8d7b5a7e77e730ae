// One key event from a MIDI keyboard, as handed from the MIDI input threads to the
// user-interface thread. Plain data, no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tessimo {

enum class KeyAction : std::uint8_t { Press, Release };

struct MidiKeyEvent {
    KeyAction action = KeyAction::Press;
    std::uint8_t key = 0;      // MIDI key number 0..127, 60 = middle C
    std::uint8_t velocity = 0; // 1..127 for a press; the release velocity (often 0) for a release
    std::uint8_t channel = 0;  // 0..15
    std::int64_t timeNs = 0;   // steady clock when the event was received, in nanoseconds

    bool operator==(const MidiKeyEvent&) const = default;
};

// The key event carried by one MIDI message, or nothing for any other message (controllers,
// clock, system messages, truncated or malformed bytes). A note-on of velocity 0 is a
// release, as MIDI running status senders use it. Any thread; never allocates.
std::optional<MidiKeyEvent> keyEventFromMessage(const std::uint8_t* bytes, std::size_t size,
                                                std::int64_t timeNs) noexcept;

} // namespace tessimo
