#include "audio_devices/PortAudioCapture.h"

#include "audio_devices/CaptureRebuffer.h"
#include "concurrency/SpscRing.h"
#include "sound/PortAudioSession.h"
#include "sound/SoundDevices.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tessimo {

namespace {

using Clock = std::chrono::steady_clock;

// The capture thread looks into the ring this often: the delay a buffer can gain.
constexpr std::chrono::milliseconds PollPeriod{4};
// A stream that stopped by itself (the server went away) is opened again this often.
constexpr std::chrono::milliseconds ReopenPeriod{1000};
// Room for about 2.7 s at 48000 Hz, far more than the capture thread ever falls behind.
constexpr std::size_t RingSamples = 1u << 17;
// A capture thread that has not ended this long after it was told to stop is stuck in the
// library (a frozen server): start() then refuses rather than pile up more threads behind it.
constexpr std::chrono::milliseconds StuckAfter{2000};
// At most this many capture threads of earlier captures may still be ending.
constexpr std::size_t MaxLingering = 6;
// After finding no input device, captures this soon after say nothing and open nothing, so
// that repeated starts (a word every 1.5 s in Record) do not each start the library again.
constexpr std::chrono::milliseconds NoDeviceRetry{2000};
// How long the destructor lets finishing capture threads end before abandoning them.
constexpr std::chrono::milliseconds DestroyWait{200};

struct StreamCloser {
    void operator()(PaStream* stream) const {
        std::lock_guard lock(portAudioSetupMutex());
        if (Pa_IsStreamStopped(stream) == 0)
            Pa_AbortStream(stream);
        Pa_CloseStream(stream);
    }
};
using StreamPtr = std::unique_ptr<PaStream, StreamCloser>;

} // namespace

// What every capture thread of one PortAudioCapture shares; kept alive by each of them, so an
// abandoned thread never touches freed memory.
struct PortAudioCapture::Shared {
    explicit Shared(Report r) : report(std::move(r)) {}

    void say(const std::string& message) {
        std::lock_guard lock(reportMutex);
        if (report)
            report(message);
    }
    // Says message unless it was said since the last clear.
    void sayOnce(std::atomic<bool>& said, const std::string& message) {
        if (!said.exchange(true))
            say(message);
    }

    std::string deviceName() {
        std::lock_guard lock(deviceMutex);
        return device;
    }

    std::mutex reportMutex;
    Report report; // guarded by reportMutex; cleared by the destructor
    std::atomic<bool> saidNoMicrophone{false};
    std::atomic<bool> saidSilent{false};
    std::atomic<bool> saidNotAnswering{false};
    std::atomic<Clock::rep> noDeviceUntil{0};
    std::atomic<bool> saidFallback{false};
    std::mutex deviceMutex;
    std::string device; // guarded by deviceMutex: the chosen input, empty for the default
};

// One capture, from start() to the end of its thread.
struct PortAudioCapture::Run {
    explicit Run(CaptureSink* s, bool probe) : probeOnly(probe), sink(s) {}

    // The library's real-time callback: copies and returns; never allocates, locks or waits.
    static int onInput(const void* input, void*, unsigned long frames,
                       const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* self) {
        if (input != nullptr)
            static_cast<Run*>(self)->ring.write(static_cast<const std::int16_t*>(input), frames);
        return paContinue;
    }

    bool stopRequested() {
        std::lock_guard lock(mutex);
        return stopping;
    }
    void mark(bool& flag) {
        {
            std::lock_guard lock(mutex);
            flag = true;
        }
        changed.notify_all();
    }

    const bool probeOnly;
    Clock::time_point stoppedAt = Clock::now(); // user-interface thread only
    // Producer: the stream callback; consumer: the capture thread.
    SpscRing<std::int16_t, RingSamples> ring;
    std::atomic<double> deviceRate{0};

    std::mutex mutex;
    std::condition_variable changed;
    bool stopping = false;  // guarded by mutex: stop() was called
    bool delivered = false; // guarded by mutex: the last buffer has been given to the sink
    bool finished = false;  // guarded by mutex: the thread touches the library no more

    // Held by the capture thread while it calls the sink, and by stop() to revoke it.
    std::mutex deliveryMutex;
    CaptureSink* sink; // guarded by deliveryMutex; null once revoked
};

namespace {

using Run = PortAudioCapture::Run;
using Shared = PortAudioCapture::Shared;

// Opens and starts the input device called name (the default one when it is empty or not
// connected; fellBack then says so), mono 16-bit at 22000 Hz or else at its own rate. Capture
// thread.
StreamPtr openInput(Run& run, const std::string& name, double& rate, std::string& problem,
                    bool probeOnly, bool* fellBack = nullptr) {
    std::lock_guard lock(portAudioSetupMutex());
    PaDeviceIndex device = findSoundDevice(name, false);
    if (device == paNoDevice && !name.empty()) {
        device = findSoundDevice({}, false);
        if (fellBack != nullptr)
            *fellBack = device != paNoDevice;
    }
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr || info->maxInputChannels < 1) {
        problem = PortAudioCapture::NoMicrophoneMessage;
        return nullptr;
    }
    if (probeOnly)
        return nullptr;
    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = 1;
    parameters.sampleFormat = paInt16;
    parameters.suggestedLatency = info->defaultLowInputLatency;
    PaStream* stream = nullptr;
    for (const double candidate : {CaptureRebuffer::Rate, info->defaultSampleRate}) {
        if (Pa_OpenStream(&stream, &parameters, nullptr, candidate, paFramesPerBufferUnspecified,
                          paClipOff, &Run::onInput, &run) == paNoError) {
            rate = candidate;
            break;
        }
        stream = nullptr;
    }
    if (stream == nullptr) {
        problem = "The microphone could not be opened";
        return nullptr;
    }
    if (const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream))
        rate = streamInfo->sampleRate;
    if (Pa_StartStream(stream) != paNoError) {
        Pa_CloseStream(stream);
        problem = "The microphone could not be started";
        return nullptr;
    }
    return StreamPtr(stream);
}

// Gives what the ring holds to the rebuffer, and through it to the sink while it is not
// revoked. Returns the number of samples taken. Capture thread.
std::size_t drain(Run& run, CaptureRebuffer& rebuffer, std::vector<std::int16_t>& chunk) {
    std::size_t total = 0;
    for (;;) {
        const std::size_t n = run.ring.read(chunk.data(), chunk.size());
        if (n == 0)
            return total;
        total += n;
        std::lock_guard lock(run.deliveryMutex);
        if (run.sink != nullptr)
            rebuffer.push(chunk.data(), n, *run.sink);
    }
}

// Waits a poll period or until stop() is called; true when it was.
bool waitForStop(Run& run) {
    std::unique_lock lock(run.mutex);
    return run.changed.wait_for(lock, PollPeriod, [&] { return run.stopping; });
}

void captureMain(const std::shared_ptr<Shared>& shared, const std::shared_ptr<Run>& run) {
    std::string problem;
    double rate = 0;
    // Each capture holds the library for as long as it runs: the library lists the devices
    // when it starts, so letting it go means the next capture looks again, and a sound server
    // or device that comes later is found (as long as no other part of the program holds it).
    std::unique_ptr<PortAudioSession> session;
    StreamPtr stream;
    const std::string name = shared->deviceName();
    if (Clock::now().time_since_epoch().count() < shared->noDeviceUntil.load()) {
        // No device a moment ago: nothing to open.
    } else if (session = PortAudioSession::start(problem); session == nullptr) {
        shared->say(problem);
    } else {
        bool fellBack = false;
        stream = openInput(*run, name, rate, problem, run->probeOnly, &fellBack);
        if (problem == PortAudioCapture::NoMicrophoneMessage) {
            shared->noDeviceUntil.store((Clock::now() + NoDeviceRetry).time_since_epoch().count());
            shared->sayOnce(shared->saidNoMicrophone, problem);
        } else if (!problem.empty()) {
            shared->say(problem);
        } else {
            shared->saidNoMicrophone.store(false);
            if (!fellBack)
                shared->saidFallback.store(false);
            else
                shared->sayOnce(shared->saidFallback,
                                "The microphone \"" + name +
                                    "\" is not connected; using the default one");
        }
    }
    if (stream != nullptr) {
        run->deviceRate.store(rate);
        auto rebuffer = std::make_unique<CaptureRebuffer>(rate);
        std::vector<std::int16_t> chunk(2048);
        auto lastSound = Clock::now();
        auto lastOpen = lastSound;
        for (;;) {
            const bool stopping = waitForStop(*run);
            const auto now = Clock::now();
            if (drain(*run, *rebuffer, chunk) > 0) {
                lastSound = now;
                shared->saidSilent.store(false);
                shared->saidNotAnswering.store(false); // the server answers again
            } else if (now - lastSound > PortAudioCapture::SilentDeviceLimit) {
                shared->sayOnce(shared->saidSilent, PortAudioCapture::NothingCapturedMessage);
            }
            if (stopping)
                break;
            // A stream the server dropped is opened again, so capture comes back with it.
            if ((stream == nullptr || Pa_IsStreamActive(stream.get()) != 1) &&
                now - lastOpen > ReopenPeriod) {
                lastOpen = now;
                stream.reset();
                double again = 0;
                std::string ignored;
                stream = openInput(*run, name, again, ignored, false);
                if (stream != nullptr && again != rate) {
                    std::lock_guard lock(run->deliveryMutex);
                    if (run->sink != nullptr)
                        rebuffer->flush(*run->sink);
                    rebuffer = std::make_unique<CaptureRebuffer>(again);
                    rate = again;
                }
            }
        }
        std::lock_guard lock(run->deliveryMutex);
        if (run->sink != nullptr)
            rebuffer->flush(*run->sink); // the partly filled last buffer
    }
    run->mark(run->delivered);
    stream.reset(); // stopping and closing may wait on the server
    session.reset();
    run->mark(run->finished);
}

} // namespace

PortAudioCapture::PortAudioCapture(Report report)
    : shared_(std::make_shared<Shared>(std::move(report))) {}

PortAudioCapture::~PortAudioCapture() {
    stop();
    {
        std::lock_guard lock(shared_->reportMutex);
        shared_->report = nullptr;
    }
    const auto deadline = Clock::now() + DestroyWait;
    for (auto& [run, thread] : lingering_) {
        std::unique_lock lock(run->mutex);
        if (run->changed.wait_until(lock, deadline, [&] { return run->finished; })) {
            lock.unlock();
            thread.join();
        } else {
            thread.detach(); // stuck in the library; it holds what it needs
        }
    }
}

void PortAudioCapture::collectFinished() {
    std::erase_if(lingering_, [](auto& entry) {
        Run& run = *entry.first;
        {
            std::lock_guard lock(run.mutex);
            if (!run.finished)
                return false;
        }
        entry.second.join();
        return true;
    });
}

void PortAudioCapture::launch(CaptureSink* sink) {
    auto run = std::make_shared<Run>(sink, sink == nullptr);
    std::thread thread([shared = shared_, run] { captureMain(shared, run); });
    if (sink == nullptr) {
        lingering_.emplace_back(std::move(run), std::move(thread));
        return;
    }
    run_ = std::move(run);
    thread_ = std::move(thread);
}

void PortAudioCapture::setDeviceName(std::string name) {
    {
        std::lock_guard lock(shared_->deviceMutex);
        shared_->device = std::move(name);
    }
    shared_->noDeviceUntil.store(0); // a new choice is looked for at once
    shared_->saidNoMicrophone.store(false);
}

void PortAudioCapture::probe() {
    collectFinished();
    if (lingering_.empty())
        launch(nullptr);
}

void PortAudioCapture::start(CaptureSink& sink) {
    if (run_ != nullptr)
        return;
    collectFinished();
    const auto now = Clock::now();
    const bool stuck = std::any_of(lingering_.begin(), lingering_.end(), [&](const auto& entry) {
        return now - entry.first->stoppedAt > StuckAfter;
    });
    if (stuck || lingering_.size() >= MaxLingering) {
        shared_->sayOnce(shared_->saidNotAnswering, NotAnsweringMessage);
        return;
    }
    launch(&sink);
}

void PortAudioCapture::stop() {
    if (run_ == nullptr)
        return;
    std::shared_ptr<Run> run = std::move(run_);
    {
        std::lock_guard lock(run->mutex);
        run->stopping = true;
    }
    run->changed.notify_all();
    bool delivered = false;
    {
        std::unique_lock lock(run->mutex);
        delivered = run->changed.wait_for(lock, StopWait, [&] { return run->delivered; });
    }
    if (!delivered) {
        // Waits at most for a delivery in progress, which is the recogniser's own bounded work.
        std::lock_guard lock(run->deliveryMutex);
        run->sink = nullptr;
        shared_->sayOnce(shared_->saidNotAnswering, NotAnsweringMessage);
    }
    lastDeviceRate_ = run->deviceRate.load();
    run->stoppedAt = Clock::now();
    lingering_.emplace_back(std::move(run), std::move(thread_));
    collectFinished();
}

} // namespace tessimo
