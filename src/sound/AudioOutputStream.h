// The program's own output stream on the default sound-output device, float samples, its
// callback filled by an AudioRenderer.
#pragma once

#include "sound/AudioRenderer.h"

#include <portaudio.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace tessimo {

class PortAudioSession;

class AudioOutputStream {
public:
    // Opens (without starting) the output device called deviceName (empty: the default
    // one), stereo, or mono on a one-channel device, at rate when it is given (the server
    // converts), else at the device's usual rate (44100 or 48000 when it offers one of them).
    // The session must outlive the stream. Returns null with a plain-words reason when there
    // is no such device or it cannot be opened. Can wait on the sound server: a device thread
    // only (see DeviceWorker).
    static std::unique_ptr<AudioOutputStream> open(PortAudioSession& session, std::string& reason,
                                                   double rate = 0,
                                                   const std::string& deviceName = {});

    // The rate open() would choose for the device (empty name: the default one), or 0 when
    // there is none. A device thread only.
    static double defaultDeviceRate(PortAudioSession& session, const std::string& deviceName = {});

    // Aborts and closes the stream; the callback has returned for good afterwards. Can wait on
    // the sound server: a device thread only.
    ~AudioOutputStream();
    AudioOutputStream(const AudioOutputStream&) = delete;
    AudioOutputStream& operator=(const AudioOutputStream&) = delete;

    // Starts calling renderer from the audio thread; the renderer must outlive the stream.
    // Returns false with reason when the device refuses to start. Once only: a stream that
    // finished (renderAudio returned false) or died is closed and another one opened, since
    // starting a stream again after its server went away can wait for ever. A device thread
    // only.
    bool start(AudioRenderer& renderer, std::string& reason);

    // True while the callback runs: false once it finished or the stream died (the server
    // went away). Does not wait. Any thread except the audio thread.
    bool isActive() const;

    double sampleRate() const { return sampleRate_; }
    int channelCount() const { return channelCount_; }

    // Frames between one given to the device and its sound leaving the speaker, as the
    // device reports it. Any thread after open.
    std::uint64_t outputLatencyFrames() const { return outputLatencyFrames_; }

    // Frames rendered since start. Any thread.
    std::uint64_t framesRendered() const { return framesRendered_.load(std::memory_order_acquire); }

private:
    struct StreamCloser {
        void operator()(PaStream* stream) const;
    };

    AudioOutputStream() = default;
    static int callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags flags,
                        void* self);

    double sampleRate_ = 0;
    int channelCount_ = 0;
    std::uint64_t outputLatencyFrames_ = 0;
    std::atomic<AudioRenderer*> renderer_{nullptr};
    std::atomic<std::uint64_t> framesRendered_{0};
    std::unique_ptr<PaStream, StreamCloser> stream_;
};

} // namespace tessimo
