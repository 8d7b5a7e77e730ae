// Single-producer single-consumer ring of packed MIDI messages: the user-interface thread
// pushes, the audio thread drains at the start of each render block. Lock-free, never
// allocates, never waits.
#pragma once

#include "concurrency/SpscRing.h"
#include "sound/MidiPort.h"

namespace tessimo {

// 1024 messages fit at once: far more than one MidiPlay call sends.
using ChannelMessageRing = SpscRing<PackedMidiMessage, 1024>;

} // namespace tessimo
