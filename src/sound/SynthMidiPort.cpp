#include "sound/SynthMidiPort.h"

namespace tessimo {

bool isPlayableChannelMessage(PackedMidiMessage message) {
    const unsigned kind = message & 0xF0;
    const unsigned d1 = (message >> 8) & 0xFF;
    const unsigned d2 = (message >> 16) & 0xFF;
    switch (kind) {
    case 0x80:
    case 0x90:
        return d1 < 0x80 && d2 < 0x80;
    case 0xC0:
        return d1 < 0x80;
    default:
        return false;
    }
}

bool SynthMidiPort::send(PackedMidiMessage message) {
    return isPlayableChannelMessage(message) && queue(message);
}

bool SynthMidiPort::queue(PackedMidiMessage message) {
    if (!ring_.push(message))
        return false;
    if (afterQueued_)
        afterQueued_();
    return true;
}

} // namespace tessimo
