#include "sound/SynthMidiPort.h"

namespace tessimo {

std::optional<SynthRequest> synthRequestFor(PackedMidiMessage message) {
    const auto channel = static_cast<std::uint8_t>(message & 0x0F);
    const auto d1 = static_cast<std::uint8_t>((message >> 8) & 0xFF);
    const auto d2 = static_cast<std::uint8_t>((message >> 16) & 0xFF);
    if (d1 >= 0x80 || d2 >= 0x80)
        return std::nullopt;
    switch (message & 0xF0) {
    case 0x80:
        return SynthRequest::noteOff(channel, d1);
    case 0x90:
        return SynthRequest::noteOn(channel, d1, d2);
    case 0xC0:
        return SynthRequest::programChange(channel, d1);
    default:
        return std::nullopt;
    }
}

bool SynthMidiPort::send(PackedMidiMessage message) {
    const std::optional<SynthRequest> request = synthRequestFor(message);
    return request.has_value() && queue(*request);
}

bool SynthMidiPort::queue(const SynthRequest& request) {
    if (!ring_.push(request))
        return false;
    if (afterQueued_)
        afterQueued_();
    return true;
}

} // namespace tessimo
