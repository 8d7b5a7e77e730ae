#include "sound/SoundOutput.h"

#include "sound/AudioOutputStream.h"
#include "sound/ChannelMessageRing.h"
#include "sound/OutputIdleGate.h"
#include "sound/PortAudioSession.h"
#include "sound/SynthEngine.h"
#include "sound/WordPlayback.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <utility>

namespace tessimo {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often the device thread looks at a stream that should be running.
constexpr auto WatchEvery = milliseconds(250);
// Looks without a new frame after which a running stream counts as stalled.
constexpr int StalledAfterLooks = 2;
// Waits before the attempts to reconnect after a loss: doubling up to the last, which repeats.
constexpr milliseconds RetryDelays[] = {milliseconds(250), milliseconds(500), milliseconds(1000),
                                        milliseconds(2000)};
// After this long lost, attempts are made only when a note is asked for.
constexpr auto RetryInBackgroundFor = std::chrono::seconds(60);
// Least time between two attempts asked for by notes.
constexpr auto RetryAskedEvery = std::chrono::seconds(1);

} // namespace

// Everything the device thread and the audio callback use, shared with the device thread so
// that a device thread left running at exit still owns it.
struct SoundOutput::Device final : AudioRenderer, std::enable_shared_from_this<Device> {
    Device(StatusChanged onStatusChanged, DeviceWorker::Poster worker)
        : listener(std::move(onStatusChanged)), worker(std::move(worker)) {}

    // --- Any thread.
    ChannelMessageRing ring; // producer: the user-interface thread; consumer: the synth
    std::atomic<Status> status{Status::Starting};
    std::atomic<bool> canRetry{false};    // the failure was the device's, not the SoundFont's
    std::atomic<bool> retryQueued{false}; // an attempt to reconnect waits on the device thread
    std::atomic<bool> closing{false};     // the owner is being destroyed
    std::atomic<OutputIdleGate*> gate{nullptr}; // set once, before the first Ready
    std::atomic<double> sampleRate{0};
    std::atomic<int> channelCount{0};
    std::atomic<std::uint64_t> outputLatency{0};
    std::atomic<std::uint64_t> frames{0}; // written by the audio thread
    // Recorded words: played by the user-interface thread, mixed by the audio thread.
    WordPlayback words;

    mutable std::mutex textMutex;
    std::string reason;  // why silent or lost
    std::string message; // for the status bar

    std::mutex listenerMutex;
    StatusChanged listener; // emptied by the owner's destructor

    // --- Device thread only.
    DeviceWorker::Poster worker;
    std::filesystem::path soundFont;
    std::unique_ptr<PortAudioSession> session;
    std::unique_ptr<SynthEngine> engine;
    std::unique_ptr<OutputIdleGate> ownedGate;
    std::unique_ptr<AudioOutputStream> stream;
    bool everReady = false;
    bool watching = false;
    std::uint64_t watchRound = 0; // one round of looks per stream; older rounds stop
    std::uint64_t watchedFrames = 0;
    int looksWithoutFrames = 0;
    std::size_t retries = 0;
    Clock::time_point lostSince{};

    void startUp(const std::filesystem::path& soundFontDirectory);
    bool openStream(std::string& failure, bool afterLoss);
    void watch(std::uint64_t round);
    void watchAgain();
    void wake();
    void retry();
    void lose(const std::string& why);
    void queueRetry();
    void close();
    void setStatus(Status next, std::string why, std::string text);
    void report();

    bool renderAudio(float* out, std::size_t frameCount, int channels,
                     std::uint64_t firstFrame) noexcept override;
};

void SoundOutput::Device::startUp(const std::filesystem::path& soundFontDirectory) {
    const auto began = Clock::now();
    soundFont = findGeneralMidiSoundFont(soundFontDirectory);
    if (soundFont.empty())
        return setStatus(Status::Silent, NoSoundFontReason, NoSoundFontReason);
    std::string failure;
    if (closing.load())
        return;
    canRetry.store(true); // unless the synthesiser cannot be made
    if (!openStream(failure, false))
        return setStatus(Status::Silent, failure, failure);
    setStatus(Status::Ready, {}, Clock::now() - began > SlowStartup ? LateReadyMessage : "");
}

// Closes what is left of the last stream and opens and starts a new one; the synthesiser is
// created with the first and keeps its programs. After a loss the notes asked for meanwhile
// are dropped; on waking from idle the message that woke the stream is played. The sound library is
// started afresh after a failure, since it lists the devices only when it starts and a server that
// was away then is missing from that list.
bool SoundOutput::Device::openStream(std::string& failure, bool afterLoss) {
    stream.reset();
    watching = false;
    if (session == nullptr)
        session = PortAudioSession::start(failure);
    if (session == nullptr)
        return false;
    if (engine == nullptr) {
        // The synthesiser is made before the stream is opened, so that opening and starting
        // follow each other at once: a server that goes away between the two can leave the
        // sound library's start waiting for ever.
        const double rate = AudioOutputStream::defaultDeviceRate(*session);
        if (rate <= 0) {
            failure = "No sound output device";
            session.reset();
            return false;
        }
        engine = SynthEngine::create(rate, soundFont, ring, failure);
        if (engine == nullptr) {
            canRetry.store(false);
            return false;
        }
        ownedGate = std::make_unique<OutputIdleGate>(
            static_cast<std::uint64_t>(std::lround(IdleAfterSeconds * rate)));
        gate.store(ownedGate.get(), std::memory_order_release);
    } else if (afterLoss) {
        engine->discardPendingNotes();
    }
    auto next = AudioOutputStream::open(*session, failure, engine->sampleRate());
    if (next == nullptr || closing.load()) {
        next.reset(); // the stream goes before the library it belongs to
        session.reset();
        return false;
    }
    sampleRate.store(next->sampleRate());
    channelCount.store(next->channelCount());
    outputLatency.store(next->outputLatencyFrames());

    ownedGate->restarted(true);
    if (!next->start(*this, failure)) {
        next.reset();
        session.reset();
        return false;
    }
    stream = std::move(next);
    watchedFrames = stream->framesRendered();
    looksWithoutFrames = 0;
    watching = true;
    ++watchRound;
    watchAgain();
    return true;
}

void SoundOutput::Device::watchAgain() {
    worker.postAfter(WatchEvery,
                     [self = shared_from_this(), round = watchRound] { self->watch(round); });
}

void SoundOutput::Device::watch(std::uint64_t round) {
    if (round != watchRound || !watching || stream == nullptr || closing.load())
        return;
    // Active first: a stream that finishes for silence marks the gate before it ends, so an
    // ended stream whose gate still runs has died.
    const bool active = stream->isActive();
    if (ownedGate->state() != OutputIdleGate::State::Running) {
        watching = false; // idle by design; the next message wakes it
        return;
    }
    if (!active)
        return lose(LostMessage);
    const std::uint64_t now = stream->framesRendered();
    if (now == watchedFrames) {
        if (++looksWithoutFrames == StalledAfterLooks && status.load() == Status::Ready)
            setStatus(Status::Lost, StalledMessage, StalledMessage);
    } else {
        looksWithoutFrames = 0;
        if (status.load() == Status::Lost)
            setStatus(Status::Ready, {}, BackMessage);
    }
    watchedFrames = now;
    watchAgain();
}

void SoundOutput::Device::wake() {
    if (closing.load() || ownedGate->state() != OutputIdleGate::State::Restarting)
        return; // a reconnection started the stream meanwhile
    std::string failure;
    if (!openStream(failure, false))
        lose(failure.empty() ? LostMessage : failure);
}

void SoundOutput::Device::retry() {
    retryQueued.store(false);
    const Status now = status.load();
    // A stalled stream still exists and may go on; only a closed one is opened again.
    if (closing.load() || stream != nullptr || (now != Status::Lost && now != Status::Silent))
        return;
    std::string failure;
    if (openStream(failure, true)) {
        retries = 0;
        setStatus(Status::Ready, {}, everReady ? BackMessage : LateReadyMessage);
        return;
    }
    if (now == Status::Lost && Clock::now() - lostSince < RetryInBackgroundFor)
        queueRetry();
}

// The stream died (or could not be woken): closes it, says so once and tries again.
void SoundOutput::Device::lose(const std::string& why) {
    stream.reset();
    watching = false;
    session.reset();
    canRetry.store(true);
    if (status.load() != Status::Lost) {
        lostSince = Clock::now();
        retries = 0;
        setStatus(Status::Lost, why, LostMessage);
    }
    queueRetry();
}

void SoundOutput::Device::queueRetry() {
    if (retryQueued.exchange(true))
        return;
    const milliseconds delay = RetryDelays[std::min(retries, std::size(RetryDelays) - 1)];
    ++retries;
    if (!worker.postAfter(delay, [self = shared_from_this()] { self->retry(); }))
        retryQueued.store(false);
}

void SoundOutput::Device::close() {
    watching = false;
    stream.reset(); // the callback has returned for good before the synth goes
    engine.reset();
    session.reset();
}

void SoundOutput::Device::setStatus(Status next, std::string why, std::string text) {
    {
        std::lock_guard lock(textMutex);
        reason = std::move(why);
        message = std::move(text);
    }
    if (next == Status::Ready)
        everReady = true;
    status.store(next, std::memory_order_release);
    report();
}

void SoundOutput::Device::report() {
    std::lock_guard lock(listenerMutex);
    if (listener)
        listener();
}

bool SoundOutput::Device::renderAudio(float* out, std::size_t frameCount, int channels,
                                      std::uint64_t) noexcept {
    // The stream counts from 0 again after a reconnection; this count goes on.
    const std::uint64_t first = frames.load(std::memory_order_relaxed);
    engine->render(out, frameCount, channels);
    words.mixInto(out, frameCount, channels, first);
    const std::size_t samples = frameCount * static_cast<std::size_t>(channels);
    const bool silent = std::all_of(out, out + samples, [](float s) { return s == 0.0f; });
    const bool more = ownedGate->continueAfterBlock(
        silent, frameCount, [&] { return ring.hasPending() || words.isActive(); });
    frames.store(first + frameCount, std::memory_order_release);
    return more;
}

SoundOutput::SoundOutput(StatusChanged onStatusChanged, std::filesystem::path soundFontDirectory)
    : device_(std::make_shared<Device>(std::move(onStatusChanged), worker_.poster())),
      port_(device_->ring, [this] { wakeOutput(); }) {
    // The jobs hold the device, never this object, so that they may outlive it.
    worker_.post([device = device_, directory = std::move(soundFontDirectory)] {
        device->startUp(directory);
    });
}

SoundOutput::~SoundOutput() {
    device_->closing.store(true);
    {
        std::lock_guard lock(device_->listenerMutex);
        device_->listener = {};
    }
    worker_.finish([device = device_] { device->close(); }, ExitBound);
}

int SoundOutput::MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths,
                          int count, std::uint8_t velocity, bool sustain) {
    switch (status()) {
    case Status::Ready:
        port_.markReady();
        return player_.MidiPlay(program, keys, lengths, count, velocity, sustain);
    case Status::Lost:
    case Status::Silent:
        askForRetry();
        return 1;
    case Status::Starting:
        break;
    }
    return 1;
}

int SoundOutput::silenceAll() {
    if (player_.heldKeys().none() && isIdle())
        return 0;
    // Queued even while the stream is lost: a stalled stream that goes on plays what it held.
    return player_.silenceAll();
}

void SoundOutput::askForRetry() {
    if (!device_->canRetry.load())
        return;
    const auto now = Clock::now();
    if (now - lastRetryAsked_ < RetryAskedEvery)
        return;
    lastRetryAsked_ = now;
    if (device_->retryQueued.exchange(true))
        return;
    if (!worker_.post([device = device_] { device->retry(); }))
        device_->retryQueued.store(false);
}

SoundOutput::Status SoundOutput::status() const {
    return device_->status.load(std::memory_order_acquire);
}

std::string SoundOutput::silenceReason() const {
    std::lock_guard lock(device_->textMutex);
    return device_->reason;
}

std::string SoundOutput::statusMessage() const {
    std::lock_guard lock(device_->textMutex);
    return device_->message;
}

double SoundOutput::sampleRate() const {
    return device_->sampleRate.load();
}

int SoundOutput::channelCount() const {
    return device_->channelCount.load();
}

std::uint64_t SoundOutput::outputLatencyFrames() const {
    return device_->outputLatency.load();
}

bool SoundOutput::playWord(const std::int16_t* samples, std::size_t count) {
    if (!isReady())
        return false;
    if (!device_->words.play(samples, count, sampleRate()))
        return false;
    wakeOutput();
    return true;
}

std::uint64_t SoundOutput::framesRendered() const {
    return device_->frames.load(std::memory_order_acquire);
}

bool SoundOutput::isIdle() const {
    const OutputIdleGate* gate = device_->gate.load(std::memory_order_acquire);
    return isReady() && gate != nullptr && gate->isIdle();
}

void SoundOutput::wakeOutput() {
    OutputIdleGate* gate = device_->gate.load(std::memory_order_acquire);
    if (!isReady() || gate == nullptr || !gate->claimRestart())
        return;
    if (!worker_.post([device = device_] { device->wake(); }))
        gate->restarted(false); // the next message tries again
}

void SoundOutput::stopWord() {
    device_->words.stop();
}

bool SoundOutput::wordPlaying() {
    return device_->words.isPlaying(framesRendered(), outputLatencyFrames());
}

bool SoundOutput::reclaimWords() {
    return device_->words.reclaim();
}

std::unique_ptr<SoundOutput> createSoundOutput(SoundOutput::StatusChanged onStatusChanged) {
    return std::make_unique<SoundOutput>(std::move(onStatusChanged));
}

} // namespace tessimo
