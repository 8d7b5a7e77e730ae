// What the MIDI input can offer right now, and the plain-words line the status bar shows for
// it. Plain data and pure functions; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessimo {

enum class MidiInputState {
    NoSequencer, // neither an ALSA sequencer nor a JACK server is there
    Failed,      // the MIDI system refused us or went away; detail says why
    NoDevice,    // ready, with the program's own input port, but no keyboard connected
    Connected,   // at least one keyboard connected
};

struct MidiInputStatus {
    MidiInputState state = MidiInputState::NoSequencer;
    std::string backend;              // "ALSA sequencer", "JACK", or "" when there is none
    std::vector<std::string> devices; // names of the connected keyboards, as shown to the user
    std::string detail;               // for Failed: the MIDI system's own words
    std::string inputPort;            // the program's own input port others can connect to

    bool operator==(const MidiInputStatus&) const = default;
};

// The status line: "Keyboard: <name> connected", "Keyboards: <a>, <b> connected",
// "No MIDI keyboard connected", "No MIDI keyboard: there is no MIDI sequencer on this
// machine", or "No MIDI keyboard: the MIDI system failed (<detail>)".
std::string describeMidiInputStatus(const MidiInputStatus& status);

// The name of a MIDI source as a user knows it: ALSA's "Client:Port 20:0" loses the trailing
// client and port numbers, and the client name when the port name repeats it
// ("nanoKEY2:nanoKEY2 MIDI 1 20:0" becomes "nanoKEY2 MIDI 1"); JACK's "client:port" stays.
std::string displayNameOfPort(std::string_view portName);

// True for sources that are no keyboard of the user's: the program's own ports (whose client
// name begins with clientName) and ALSA's "Midi Through" loopback.
bool isIgnoredSource(std::string_view portName, std::string_view clientName);

} // namespace tessimo
