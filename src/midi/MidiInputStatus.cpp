#include "midi/MidiInputStatus.h"

#include <cctype>

namespace tessimo {

std::string describeMidiInputStatus(const MidiInputStatus& status) {
    switch (status.state) {
    case MidiInputState::NoSequencer:
        return "No MIDI keyboard: there is no MIDI sequencer on this machine";
    case MidiInputState::Failed:
        return "No MIDI keyboard: the MIDI system failed (" + status.detail + ")";
    case MidiInputState::NoDevice:
        return "No MIDI keyboard connected";
    case MidiInputState::Connected:
        break;
    }
    std::string names;
    for (const std::string& device : status.devices) {
        if (!names.empty()) {
            names += ", ";
        }
        names += device;
    }
    return (status.devices.size() > 1 ? "Keyboards: " : "Keyboard: ") + names + " connected";
}

namespace {

// Strips a trailing " <digits>:<digits>" (ALSA's client and port numbers).
std::string_view withoutAddress(std::string_view name) {
    const std::size_t space = name.rfind(' ');
    if (space == std::string_view::npos) {
        return name;
    }
    const std::string_view address = name.substr(space + 1);
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == address.size()) {
        return name;
    }
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i != colon && std::isdigit(static_cast<unsigned char>(address[i])) == 0) {
            return name;
        }
    }
    return name.substr(0, space);
}

} // namespace

std::string displayNameOfPort(std::string_view portName) {
    const std::string_view name = withoutAddress(portName);
    const std::size_t colon = name.find(':');
    if (colon != std::string_view::npos) {
        const std::string_view client = name.substr(0, colon);
        const std::string_view port = name.substr(colon + 1);
        if (!client.empty() && port.substr(0, client.size()) == client) {
            return std::string(port);
        }
    }
    return std::string(name);
}

bool isIgnoredSource(std::string_view portName, std::string_view clientName) {
    if (!clientName.empty() && portName.substr(0, clientName.size()) == clientName) {
        return true;
    }
    return portName.substr(0, 12) == "Midi Through";
}

} // namespace tessimo
