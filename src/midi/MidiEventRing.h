// Single-producer single-consumer ring of key events: one MIDI input thread pushes, the
// user-interface thread drains. Lock-free, never allocates, never waits; an event that does
// not fit is dropped and counted.
#pragma once

#include "concurrency/SpscRing.h"
#include "midi/MidiEvent.h"

namespace tessimo {

// 512 events fit at once: a player cannot fill it between two ticks.
using MidiEventRing = SpscRing<MidiKeyEvent, 512>;

} // namespace tessimo
