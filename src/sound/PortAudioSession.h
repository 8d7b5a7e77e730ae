// Process-wide start and end of the audio library, with the locking its setup calls need.
#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace tessimo {

// The audio library's setup calls (initialise, open, start, stop, close, terminate) are not
// thread-safe. Every part of the program that uses the library holds this lock around them;
// it is the one piece of global state the sound output adds. Never taken on an audio thread,
// nor on the user-interface thread, since a call under it can wait on a stopped server.
std::mutex& portAudioSetupMutex();

class PortAudioSession {
public:
    // Initialises the library with the sound system's own error messages silenced (they would
    // flood the terminal when devices are missing). Returns null with reason on failure. The
    // library lists the devices here, and again only after every session has ended, so a
    // server that was away then is missing until a new first session. Can wait on the sound
    // server: a device thread only (see DeviceWorker); takes portAudioSetupMutex.
    static std::unique_ptr<PortAudioSession> start(std::string& reason);

    // Terminates the library (each session counts once); its streams must be closed first.
    // Can wait on the sound server: a device thread only. Takes portAudioSetupMutex.
    ~PortAudioSession();
    PortAudioSession(const PortAudioSession&) = delete;
    PortAudioSession& operator=(const PortAudioSession&) = delete;

private:
    PortAudioSession() = default;
};

} // namespace tessimo
