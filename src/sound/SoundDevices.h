// The sound devices the audio library offers, by name, for choosing one in the sound set-up.
// A chosen device is kept by its name (indexes change when devices come and go); an empty name
// is the system's default device.
#pragma once

#include <portaudio.h>

#include <string>
#include <vector>

namespace tessimo {

class PortAudioSession;

struct SoundDeviceInfo {
    std::string name;
    int inputChannels = 0;
    int outputChannels = 0;
    bool defaultInput = false;
    bool defaultOutput = false;

    bool operator==(const SoundDeviceInfo&) const = default;
};

// Every device the library lists, in its order. Can wait on the sound server: a device thread
// only (see DeviceWorker); takes portAudioSetupMutex.
std::vector<SoundDeviceInfo> listSoundDevices(PortAudioSession& session);

// The device called name that can play (output) or record (!output): the default one for an
// empty name, paNoDevice when there is no such device. The caller holds portAudioSetupMutex.
PaDeviceIndex findSoundDevice(const std::string& name, bool output);

} // namespace tessimo
