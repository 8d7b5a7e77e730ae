#include "sound/SoundOutput.h"

#include "sound/AudioOutputStream.h"
#include "sound/PortAudioSession.h"
#include "sound/SynthEngine.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tessimo {

SoundOutput::SoundOutput(StartupFinished onStartupFinished,
                         std::filesystem::path soundFontDirectory)
    : onStartupFinished_(std::move(onStartupFinished)) {
    worker_ =
        std::thread([this, directory = std::move(soundFontDirectory)] { startUp(directory); });
}

SoundOutput::~SoundOutput() {
    stopping_.store(true, std::memory_order_relaxed);
    if (worker_.joinable())
        worker_.join();
    // Members go in reverse order: the stream stops before the synth it renders is freed.
}

int SoundOutput::MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths,
                          int count, std::uint8_t velocity, bool sustain) {
    return player_.MidiPlay(program, keys, lengths, count, velocity, sustain);
}

std::string SoundOutput::silenceReason() const {
    std::lock_guard lock(reasonMutex_);
    return reason_;
}

bool SoundOutput::isIdle() const {
    return ready_.load(std::memory_order_acquire) && gate_->isIdle();
}

void SoundOutput::wakeOutput() {
    if (!ready_.load(std::memory_order_acquire) || !gate_->claimRestart())
        return;
    std::string reason;
    gate_->restarted(true);
    if (!stream_->restart(reason)) {
        gate_->restarted(false); // the next message tries again
        std::lock_guard lock(reasonMutex_);
        reason_ = std::move(reason);
    }
}

bool SoundOutput::playWord(const std::int16_t* samples, std::size_t count) {
    if (!ready_.load(std::memory_order_acquire))
        return false;
    if (!words_.play(samples, count, sampleRate()))
        return false;
    wakeOutput();
    return true;
}

std::uint64_t SoundOutput::framesRendered() const {
    const AudioOutputStream* stream = readyStream_.load(std::memory_order_acquire);
    return stream != nullptr ? stream->framesRendered() : 0;
}

void SoundOutput::startUp(const std::filesystem::path& soundFontDirectory) {
    const std::filesystem::path soundFont = findGeneralMidiSoundFont(soundFontDirectory);
    if (soundFont.empty())
        return finishStartUp(NoSoundFontReason);

    std::string reason;
    auto session = PortAudioSession::start(reason);
    if (session == nullptr)
        return finishStartUp(reason);
    auto stream = AudioOutputStream::open(*session, reason);
    if (stream == nullptr)
        return finishStartUp(reason);
    if (stopping_.load(std::memory_order_relaxed))
        return finishStartUp("The sound output was closed while starting");

    auto engine = SynthEngine::create(stream->sampleRate(), soundFont, ring_, reason);
    if (engine == nullptr)
        return finishStartUp(reason);

    session_ = std::move(session);
    engine_ = std::move(engine);
    gate_ = std::make_unique<OutputIdleGate>(
        static_cast<std::uint64_t>(std::lround(IdleAfterSeconds * stream->sampleRate())));
    stream_ = std::move(stream);
    if (!stream_->start(*this, reason))
        return finishStartUp(reason);

    sampleRate_.store(stream_->sampleRate(), std::memory_order_release);
    channelCount_.store(stream_->channelCount(), std::memory_order_release);
    outputLatency_.store(stream_->outputLatencyFrames(), std::memory_order_release);
    readyStream_.store(stream_.get(), std::memory_order_release);
    ready_.store(true, std::memory_order_release);
    port_.markReady();
    finishStartUp({});
}

void SoundOutput::finishStartUp(std::string reason) {
    {
        std::lock_guard lock(reasonMutex_);
        reason_ = std::move(reason);
    }
    finished_.store(true, std::memory_order_release);
    if (onStartupFinished_)
        onStartupFinished_();
}

bool SoundOutput::renderAudio(float* out, std::size_t frames, int channelCount,
                              std::uint64_t firstFrame) noexcept {
    engine_->render(out, frames, channelCount);
    words_.mixInto(out, frames, channelCount, firstFrame);
    const std::size_t samples = frames * static_cast<std::size_t>(channelCount);
    const bool silent = std::all_of(out, out + samples, [](float s) { return s == 0.0f; });
    return gate_->continueAfterBlock(silent, frames,
                                     [this] { return ring_.hasPending() || words_.isActive(); });
}

std::unique_ptr<SoundOutput> createSoundOutput(SoundOutput::StartupFinished onStartupFinished) {
    return std::make_unique<SoundOutput>(std::move(onStartupFinished));
}

} // namespace tessimo
