// Microphone capture from the chosen (by default the system's default) input device through
// PortAudio.
//
// Each start() runs a capture thread of its own (not real time). That thread makes every call
// that can wait on the sound server: it starts the audio library, opens the default input
// device (mono 16-bit at 22000 Hz, or at the device's own rate, converted), starts and stops
// and closes the stream. The library's real-time callback only copies into a preallocated
// single-producer ring (SpscRing); the capture thread takes the samples from there every few
// milliseconds, rebuffers them into 4096-sample buffers at 22000 Hz and gives each to the sink
// (the recogniser), in order.
//
// Nothing waits without a bound on the user-interface thread: stop() asks the capture thread
// to deliver the partly filled last buffer and waits at most StopWait for it. A capture thread
// stuck in the library (a frozen sound server) is abandoned: it may no longer call the sink,
// it owns everything it still touches, and it ends by itself when the library lets it go.
// Problems (no microphone, a device that delivers nothing, a server that stopped answering)
// are said once each through the report function, in plain words for the status bar.
#pragma once

#include "recognition/CaptureDevice.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tessimo {

class PortAudioCapture final : public CaptureDevice {
public:
    // Called on a capture thread with a message for the user; it must not wait for the
    // user-interface thread. Not called any more once the destructor has begun.
    using Report = std::function<void(const std::string&)>;

    // Longest wait of stop() for the last buffer.
    static constexpr std::chrono::milliseconds StopWait{400};
    // A capture that has delivered nothing for this long says so.
    static constexpr std::chrono::milliseconds SilentDeviceLimit{2000};

    static constexpr const char* NoMicrophoneMessage = "No microphone";
    static constexpr const char* NothingCapturedMessage =
        "The microphone delivers no sound; check the sound settings";
    static constexpr const char* NotAnsweringMessage =
        "The sound server does not answer; the microphone is off until it does";

    // User-interface thread. Opens nothing yet.
    explicit PortAudioCapture(Report report = {});
    // Stops capture (bounded as stop() is) and abandons a capture thread still stuck in the
    // library. User-interface thread.
    ~PortAudioCapture() override;
    PortAudioCapture(const PortAudioCapture&) = delete;
    PortAudioCapture& operator=(const PortAudioCapture&) = delete;

    // See CaptureDevice. Starts a capture thread and returns at once. When a capture thread of
    // an earlier capture is stuck in the library (not ended 2 s after its stop), starts
    // nothing and says so.
    // User-interface thread.
    void start(CaptureSink& sink) override;
    // See CaptureDevice; waits at most StopWait. User-interface thread.
    void stop() override;

    // The input device the next capture opens, by name; empty (the default) for the system's
    // default. A named device that is not connected gives way to the default one, which is
    // said once. A capture that runs keeps its device until it stops. User-interface thread.
    void setDeviceName(std::string name);

    // Looks for an input device on a capture thread and says "No microphone" when there is
    // none, so that the user knows before the first capture. User-interface thread.
    void probe();

    // Rate at which the last capture opened the device, 0 before one has; for diagnostics and
    // tests. User-interface thread, after stop().
    double lastDeviceRate() const { return lastDeviceRate_; }

    struct Shared;
    struct Run;

private:
    void launch(CaptureSink* sink);
    void collectFinished();

    std::shared_ptr<Shared> shared_;
    std::shared_ptr<Run> run_;
    std::thread thread_;
    // Threads of earlier captures that had not finished when stopped.
    std::vector<std::pair<std::shared_ptr<Run>, std::thread>> lingering_;
    double lastDeviceRate_ = 0;
};

} // namespace tessimo
