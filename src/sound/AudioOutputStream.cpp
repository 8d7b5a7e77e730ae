#include "sound/AudioOutputStream.h"

#include "sound/PortAudioSession.h"
#include "sound/SoundDevices.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace tessimo {

namespace {

// Frames per callback: short enough for a prompt note, long enough for a sound server.
constexpr unsigned long FramesPerBuffer = 256;
// Lowest latency asked of the device, in seconds.
constexpr double MinimumLatency = 0.03;

// The device's own rate when it is one of the usual two, else the first of them it accepts.
double chooseSampleRate(PaDeviceIndex device, const PaDeviceInfo& info, int channelCount) {
    if (info.defaultSampleRate == 44100.0 || info.defaultSampleRate == 48000.0)
        return info.defaultSampleRate;
    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = channelCount;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = info.defaultLowOutputLatency;
    for (double rate : {48000.0, 44100.0}) {
        if (Pa_IsFormatSupported(nullptr, &parameters, rate) == paFormatIsSupported)
            return rate;
    }
    return info.defaultSampleRate;
}

} // namespace

void AudioOutputStream::StreamCloser::operator()(PaStream* stream) const {
    std::lock_guard lock(portAudioSetupMutex());
    // Aborting drops what the device still holds instead of waiting for it to play out.
    if (Pa_IsStreamStopped(stream) == 0)
        Pa_AbortStream(stream);
    Pa_CloseStream(stream);
}

std::unique_ptr<AudioOutputStream> AudioOutputStream::open(PortAudioSession&, std::string& reason,
                                                           double rate,
                                                           const std::string& deviceName) {
    std::unique_ptr<AudioOutputStream> self(new AudioOutputStream());
    std::lock_guard lock(portAudioSetupMutex());

    const PaDeviceIndex device = findSoundDevice(deviceName, true);
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr) {
        reason = deviceName.empty() ? "No sound output device"
                                    : "The sound output \"" + deviceName + "\" is not connected";
        return nullptr;
    }
    self->channelCount_ = std::min(info->maxOutputChannels, 2);
    self->sampleRate_ = rate > 0 ? rate : chooseSampleRate(device, *info, self->channelCount_);

    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = self->channelCount_;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = std::max(info->defaultLowOutputLatency, MinimumLatency);

    PaStream* stream = nullptr;
    const PaError error =
        Pa_OpenStream(&stream, nullptr, &parameters, self->sampleRate_, FramesPerBuffer, paClipOff,
                      &AudioOutputStream::callback, self.get());
    if (error != paNoError || stream == nullptr) {
        reason = deviceName.empty() ? "The sound output device could not be opened"
                                    : "The sound output \"" + deviceName + "\" could not be opened";
        return nullptr;
    }
    if (const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream)) {
        self->sampleRate_ = streamInfo->sampleRate;
        self->outputLatencyFrames_ =
            static_cast<std::uint64_t>(std::lround(streamInfo->outputLatency * self->sampleRate_));
    }
    self->stream_.reset(stream);
    return self;
}

double AudioOutputStream::defaultDeviceRate(PortAudioSession&, const std::string& deviceName) {
    std::lock_guard lock(portAudioSetupMutex());
    const PaDeviceIndex device = findSoundDevice(deviceName, true);
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr)
        return 0;
    return chooseSampleRate(device, *info, std::min(info->maxOutputChannels, 2));
}

AudioOutputStream::~AudioOutputStream() = default;

bool AudioOutputStream::start(AudioRenderer& renderer, std::string& reason) {
    renderer_.store(&renderer, std::memory_order_release);
    std::lock_guard lock(portAudioSetupMutex());
    if (Pa_StartStream(stream_.get()) != paNoError) {
        reason = "The sound output device could not be started";
        return false;
    }
    return true;
}

bool AudioOutputStream::isActive() const {
    return Pa_IsStreamActive(stream_.get()) == 1;
}

int AudioOutputStream::callback(const void*, void* output, unsigned long frames,
                                const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
                                void* userData) {
    auto* self = static_cast<AudioOutputStream*>(userData);
    auto* out = static_cast<float*>(output);
    const std::uint64_t first = self->framesRendered_.load(std::memory_order_relaxed);
    bool more = true;
    if (AudioRenderer* renderer = self->renderer_.load(std::memory_order_acquire))
        more = renderer->renderAudio(out, frames, self->channelCount_, first);
    else
        std::memset(out, 0, frames * static_cast<std::size_t>(self->channelCount_) * sizeof(float));
    self->framesRendered_.store(first + frames, std::memory_order_release);
    // Finishing ends the callback thread, so an idle stream costs no processor time.
    return more ? paContinue : paComplete;
}

} // namespace tessimo
