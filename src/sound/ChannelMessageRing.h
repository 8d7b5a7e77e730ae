// Single-producer single-consumer ring of synthesiser requests: the user-interface thread
// pushes, the audio thread drains at the start of each render block. Lock-free, never
// allocates, never waits.
#pragma once

#include "concurrency/SpscRing.h"
#include "sound/SynthRequest.h"

namespace tessimo {

// 1024 requests fit at once: far more than one MidiPlay call sends.
using ChannelMessageRing = SpscRing<SynthRequest, 1024>;

} // namespace tessimo
