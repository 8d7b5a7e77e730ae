#include "sound/SoundDevices.h"

#include "sound/PortAudioSession.h"

#include <mutex>

namespace tessimo {

std::vector<SoundDeviceInfo> listSoundDevices(PortAudioSession&) {
    std::lock_guard lock(portAudioSetupMutex());
    std::vector<SoundDeviceInfo> devices;
    const PaDeviceIndex count = Pa_GetDeviceCount();
    const PaDeviceIndex defaultIn = Pa_GetDefaultInputDevice();
    const PaDeviceIndex defaultOut = Pa_GetDefaultOutputDevice();
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (info == nullptr || info->name == nullptr)
            continue;
        devices.push_back({info->name, info->maxInputChannels, info->maxOutputChannels,
                           i == defaultIn, i == defaultOut});
    }
    return devices;
}

PaDeviceIndex findSoundDevice(const std::string& name, bool output) {
    const auto usable = [output](const PaDeviceInfo* info) {
        return info != nullptr && (output ? info->maxOutputChannels : info->maxInputChannels) > 0;
    };
    if (name.empty()) {
        const PaDeviceIndex device =
            output ? Pa_GetDefaultOutputDevice() : Pa_GetDefaultInputDevice();
        return device != paNoDevice && usable(Pa_GetDeviceInfo(device)) ? device : paNoDevice;
    }
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (usable(info) && info->name != nullptr && name == info->name)
            return i;
    }
    return paNoDevice;
}

} // namespace tessimo
