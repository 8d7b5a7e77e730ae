#include "sound/PortAudioSession.h"

#include <alsa/asoundlib.h>
#include <portaudio.h>

namespace tessimo {

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

} // namespace

std::mutex& portAudioSetupMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<PortAudioSession> PortAudioSession::start(std::string& reason) {
    std::lock_guard lock(portAudioSetupMutex());
    // Probing the devices makes the sound system print a message for every one it cannot
    // use; the default handler is put back afterwards.
    snd_lib_error_set_handler(&ignoreAlsaError);
    const PaError error = Pa_Initialize();
    snd_lib_error_set_handler(nullptr);
    if (error != paNoError) {
        reason = "The sound system could not be started";
        return nullptr;
    }
    return std::unique_ptr<PortAudioSession>(new PortAudioSession());
}

PortAudioSession::~PortAudioSession() {
    std::lock_guard lock(portAudioSetupMutex());
    Pa_Terminate();
}

} // namespace tessimo
