#include "sound/PortAudioSession.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <portaudio.h>

namespace tessimo {

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void ignoreJackMessage(const char*) {}

// The library probes for a JACK server, whose client library prints every failure to connect
// to the terminal. Its message handlers are replaced by ones that say nothing; the functions
// are looked up at run time since the program does not link that library itself (the audio
// library loads it when it was built with JACK support).
void silenceJack() {
    using SetHandler = void (*)(void (*)(const char*));
    for (const char* setter : {"jack_set_error_function", "jack_set_info_function"}) {
        if (void* symbol = dlsym(RTLD_DEFAULT, setter)) {
            reinterpret_cast<SetHandler>(symbol)(&ignoreJackMessage);
        }
    }
}

} // namespace

std::mutex& portAudioSetupMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<PortAudioSession> PortAudioSession::start(std::string& reason) {
    std::lock_guard lock(portAudioSetupMutex());
    // Probing the devices makes the sound system print a message for every one it cannot
    // use, and a device that fails later (one that went away) prints more; the program writes
    // no log and says what matters in the status bar, so the handler stays silent.
    snd_lib_error_set_handler(&ignoreAlsaError);
    silenceJack();
    const PaError error = Pa_Initialize();
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
