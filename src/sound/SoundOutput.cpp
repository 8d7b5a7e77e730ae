#include "sound/SoundOutput.h"

#include "sound/AudioOutputStream.h"
#include "sound/ChannelMessageRing.h"
#include "sound/MasterVolume.h"
#include "sound/OutputIdleGate.h"
#include "sound/PortAudioSession.h"
#include "sound/SoundDevices.h"
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
    MasterVolume volume; // set by the user-interface thread, read once per block

    mutable std::mutex textMutex;
    std::string reason;  // why silent or lost
    std::string message; // for the status bar
    std::string playing; // the device the last stream opened on; empty: the default one

    std::mutex listenerMutex;
    StatusChanged listener; // emptied by the owner's destructor

    // --- Device thread only.
    DeviceWorker::Poster worker;
    std::filesystem::path soundFont;
    std::unique_ptr<PortAudioSession> session;
    std::unique_ptr<SynthEngine> engine;
    std::unique_ptr<OutputIdleGate> ownedGate;
    std::unique_ptr<AudioOutputStream> stream;
    std::string chosenDevice; // the user's choice; empty: the default device
    std::string fallbackNote; // why the last stream opened on the default device instead
    bool everReady = false;
    bool watching = false;
    std::uint64_t watchRound = 0; // one round of looks per stream; older rounds stop
    std::uint64_t watchedFrames = 0;
    int looksWithoutFrames = 0;
    std::size_t retries = 0;
    Clock::time_point lostSince{};

    void startUp(const std::filesystem::path& soundFontDirectory);
    bool openStream(std::string& failure, bool afterLoss, bool fallBack = true);
    void choose(const std::string& name, const DeviceChosen& done);
    void list(const DevicesListed& done);
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
    setStatus(Status::Ready, {},
              !fallbackNote.empty()                ? fallbackNote
              : Clock::now() - began > SlowStartup ? LateReadyMessage
                                                   : "");
}

// Closes what is left of the last stream and opens and starts a new one; the synthesiser is
// created with the first and keeps its programs. After a loss the notes asked for meanwhile
// are dropped; on waking from idle the message that woke the stream is played. The sound library is
// started afresh after a failure, since it lists the devices only when it starts and a server that
// was away then is missing from that list. A chosen device that cannot be opened gives way to
// the default one when fallBack is set (fallbackNote then says why), so that a device that
// went away leaves the program with sound.
bool SoundOutput::Device::openStream(std::string& failure, bool afterLoss, bool fallBack) {
    stream.reset();
    watching = false;
    fallbackNote.clear();
    if (session == nullptr)
        session = PortAudioSession::start(failure);
    if (session == nullptr)
        return false;
    if (engine == nullptr) {
        // The synthesiser is made before the stream is opened, so that opening and starting
        // follow each other at once: a server that goes away between the two can leave the
        // sound library's start waiting for ever.
        double rate = AudioOutputStream::defaultDeviceRate(*session, chosenDevice);
        if (rate <= 0 && fallBack)
            rate = AudioOutputStream::defaultDeviceRate(*session);
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
    auto next = AudioOutputStream::open(*session, failure, engine->sampleRate(), chosenDevice);
    if (next == nullptr && fallBack && !chosenDevice.empty() && !closing.load()) {
        const std::string why = failure;
        next = AudioOutputStream::open(*session, failure, engine->sampleRate());
        if (next != nullptr)
            fallbackNote = why + "; playing on the default device";
    }
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
    {
        std::lock_guard lock(textMutex);
        playing = fallbackNote.empty() ? chosenDevice : std::string();
    }
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
    else if (!fallbackNote.empty())
        setStatus(Status::Ready, {}, fallbackNote); // the chosen device went away meanwhile
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
        setStatus(Status::Ready, {},
                  !fallbackNote.empty() ? fallbackNote
                  : everReady           ? BackMessage
                                        : LateReadyMessage);
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

// Switches the stream to the device called name. A device that fails leaves the sound on the
// one that played before (or, when that fails too, on the default one), and done says why.
void SoundOutput::Device::choose(const std::string& name, const DeviceChosen& done) {
    if (closing.load())
        return;
    const std::string previous = chosenDevice;
    if (engine == nullptr || soundFont.empty()) {
        // Not started, or silent: the choice applies to the next attempt, which is made now
        // unless the SoundFont is missing.
        chosenDevice = name;
        if (done)
            done(true, {});
        if (!soundFont.empty() && status.load() == Status::Silent)
            retry();
        return;
    }
    const bool wasRunning = stream != nullptr;
    chosenDevice = name;
    std::string failure;
    if (openStream(failure, false, false)) {
        if (status.load() != Status::Ready)
            setStatus(Status::Ready, {}, BackMessage);
        if (done)
            done(true, {});
        return;
    }
    chosenDevice = previous;
    std::string again;
    const bool restored = !wasRunning || openStream(again, false, true);
    if (!wasRunning && stream == nullptr)
        ownedGate->restarted(false); // the next message wakes the stream on the old device
    std::string text =
        failure + "; the sound stays on " +
        (previous.empty() ? std::string("the default device") : "\"" + previous + "\"");
    if (!restored) {
        lose(again);
        text = failure;
    } else if (!fallbackNote.empty()) {
        text = failure + "; playing on the default device";
    }
    if (done)
        done(false, text);
}

// Lists the devices. When no stream holds the library it is started afresh first, since it
// reads the system's devices only then: a device plugged in or removed since is seen.
void SoundOutput::Device::list(const DevicesListed& done) {
    const bool idle = stream == nullptr ||
                      (ownedGate != nullptr && ownedGate->state() == OutputIdleGate::State::Idle);
    if (idle && status.load() != Status::Starting) {
        stream.reset();
        watching = false;
        session.reset();
    }
    std::string failure;
    std::unique_ptr<PortAudioSession> own;
    PortAudioSession* listing = session.get();
    if (listing == nullptr) {
        own = PortAudioSession::start(failure);
        listing = own.get();
    }
    std::vector<SoundDeviceInfo> devices;
    if (listing != nullptr)
        devices = listSoundDevices(*listing);
    own.reset();
    if (done)
        done(std::move(devices));
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
    const std::size_t samples = frameCount * static_cast<std::size_t>(channels);
    engine->render(out, frameCount, channels);
    scaleSamples(out, samples, SynthLevel);
    words.mixInto(out, frameCount, channels, first);
    applyMasterGain(out, samples, volume.gain());
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

bool SoundOutput::readyToPlay() {
    switch (status()) {
    case Status::Ready:
        port_.markReady();
        return true;
    case Status::Lost:
    case Status::Silent:
        askForRetry();
        return false;
    case Status::Starting:
        break;
    }
    return false;
}

int SoundOutput::MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths,
                          int count, std::uint8_t velocity, bool sustain) {
    return readyToPlay() ? player_.MidiPlay(program, keys, lengths, count, velocity, sustain) : 1;
}

int SoundOutput::keyDown(int program, std::uint8_t key, std::uint8_t velocity) {
    return readyToPlay() ? player_.keyDown(program, key, velocity) : 1;
}

int SoundOutput::keyUp(std::uint8_t key) {
    // Queued whatever the status, as silenceAll is: a release is never worth losing.
    return player_.keyUp(key);
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

void SoundOutput::setVolumePercent(int percent) {
    device_->volume.setPercent(percent);
}

int SoundOutput::volumePercent() const {
    return device_->volume.percent();
}

void SoundOutput::chooseDevice(std::string name, DeviceChosen done) {
    worker_.post([device = device_, name = std::move(name), done = std::move(done)] {
        device->choose(name, done);
    });
}

void SoundOutput::listDevices(DevicesListed done) {
    worker_.post([device = device_, done = std::move(done)] { device->list(done); });
}

std::string SoundOutput::deviceName() const {
    std::lock_guard lock(device_->textMutex);
    return device_->playing;
}

bool SoundOutput::reclaimWords() {
    return device_->words.reclaim();
}

std::unique_ptr<SoundOutput> createSoundOutput(SoundOutput::StatusChanged onStatusChanged) {
    return std::make_unique<SoundOutput>(std::move(onStatusChanged));
}

} // namespace tessimo
