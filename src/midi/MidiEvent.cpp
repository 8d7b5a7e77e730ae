#include "midi/MidiEvent.h"

namespace tessimo {

std::optional<MidiKeyEvent> keyEventFromMessage(const std::uint8_t* bytes, std::size_t size,
                                                std::int64_t timeNs) noexcept {
    if (bytes == nullptr || size < 3) {
        return std::nullopt;
    }
    const std::uint8_t status = bytes[0];
    const std::uint8_t kind = status & 0xF0;
    if ((kind != 0x80 && kind != 0x90) || (bytes[1] & 0x80) != 0 || (bytes[2] & 0x80) != 0) {
        return std::nullopt;
    }
    MidiKeyEvent event;
    event.key = bytes[1];
    event.velocity = bytes[2];
    event.channel = status & 0x0F;
    event.timeNs = timeNs;
    event.action = (kind == 0x90 && bytes[2] != 0) ? KeyAction::Press : KeyAction::Release;
    return event;
}

} // namespace tessimo
