// The MIDI keyboard status as the window says it, in the interface's language.
// User-interface thread.
#pragma once

#include "midi/MidiInputStatus.h"

#include <QString>

namespace tessimo {

// "Keyboard: <name> connected", "Keyboards: <a>, <b> connected", "No MIDI keyboard
// connected", "No MIDI keyboard: there is no MIDI sequencer on this machine" or "No MIDI
// keyboard: the MIDI system failed (<detail>)", translated.
QString keyboardStatusText(const MidiInputStatus& status);

// The tool tip: where other programs can play in, or "" when the input has no port.
QString keyboardStatusDetails(const MidiInputStatus& status);

} // namespace tessimo
