// The exercise engine on the real sound path: the recogniser capturing from the private sound
// server's virtual microphone through PortAudio and playing its words through the real sound
// output, with the engine's timer driven in real time. Only the window's services (timer
// delivery, repaint, dialogs, status line) are the test's own.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "LiveSignals.h"
#include "PrivateSoundServer.h"
#include "audio_devices/PortAudioCapture.h"
#include "audio_devices/SoundWordOutput.h"
#include "game/EngineRig.h"
#include "recognition/CRecognizer.h"
#include "sound/SoundOutput.h"

namespace tessimo::test {

// Milliseconds of the steady clock, as the window's tick count.
class SteadyClock : public tessimo::Clock {
public:
    std::uint32_t tickCount() override {
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
};

// Runs a shell command; true when it exits with 0.
inline bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Reads a file of raw 16-bit little-endian samples.
inline std::vector<std::int16_t> readRaw(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                               static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
    return samples;
}

// A French word spoken by espeak-ng, at 22000 Hz with 0.1 s of silence before and 0.3 s
// after; empty when the tools are missing.
inline std::vector<std::int16_t> spoken(const std::filesystem::path& folder,
                                        const std::string& word, int pitch, int speed) {
    const std::string name = word + "-" + std::to_string(pitch) + "-" + std::to_string(speed);
    const auto wav = folder / (name + ".wav");
    const auto raw = folder / (name + ".raw");
    if (!run("espeak-ng -v fr -p " + std::to_string(pitch) + " -s " + std::to_string(speed) +
             " -w '" + wav.string() + "' '" + word + "'") ||
        !run("sox '" + wav.string() + "' -r 22000 -c 1 -b 16 -e signed-integer -t raw '" +
             raw.string() + "' pad 0.1 0.3"))
        return {};
    return readRaw(raw);
}

// Forwards to a capture device and notes when each buffer reached the sink (the recogniser).
class TimedCapture : public CaptureDevice, private CaptureSink {
public:
    explicit TimedCapture(CaptureDevice& device) : device_(device) {}
    void start(CaptureSink& sink) override {
        sink_ = &sink;
        device_.start(*this);
    }
    void stop() override { device_.stop(); }
    // When the last buffer began to be delivered. Any thread.
    SteadyTime::time_point lastDelivery() const {
        return SteadyTime::time_point(SteadyTime::duration(last_.load()));
    }

private:
    void onCaptureBuffer(const std::int16_t* samples, std::size_t count) override {
        last_.store(SteadyTime::now().time_since_epoch().count());
        sink_->onCaptureBuffer(samples, count);
    }
    CaptureDevice& device_;
    CaptureSink* sink_ = nullptr;
    std::atomic<SteadyTime::rep> last_{0};
};

class LiveRig {
public:
    // Starts the sound server, the sound output and the recogniser, in a fresh working folder
    // (the engine writes record.dat there). ready() tells whether all of it runs.
    LiveRig() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tessimo-live-" + std::to_string(getpid()) + "-" + std::to_string(count_++));
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        if (!server.start(problem))
            return;
        output = std::make_unique<SoundOutput>();
        const auto deadline = SteadyTime::now() + std::chrono::seconds(10);
        while (!output->startupFinished() && SteadyTime::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!output->isReady()) {
            problem = "sound output not ready: " + output->silenceReason();
            return;
        }
        words = std::make_unique<SoundWordOutput>(*output);
        recognizer = std::make_unique<CRecognizer>(&timedCapture, words.get());
        view = std::make_unique<CBrindelView>(ViewServices{clock, timer, window, confirmation,
                                                           dialogs, manuals, *output, *recognizer,
                                                           random, status});
    }
    ~LiveRig() {
        view.reset();
        recognizer.reset();
        words.reset();
        output.reset();
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    bool ready() const { return view != nullptr; }
    const std::filesystem::path& folder() const { return folder_; }

    void prepare(SettingsRecord s) {
        s.buildDurationList();
        view->settings() = s;
        view->prepareExercise();
    }

    // Delivers the engine's timer in real time, calls afterTick after every tick,
    // until done() or the timeout. Returns false on timeout.
    bool runUntil(const std::function<bool()>& done, const std::function<void()>& afterTick,
                  std::chrono::seconds timeout) {
        const auto deadline = SteadyTime::now() + timeout;
        auto next = SteadyTime::now();
        while (!done()) {
            if (SteadyTime::now() > deadline)
                return false;
            next += std::chrono::milliseconds(timer.period() > 0 ? timer.period() : 40);
            std::this_thread::sleep_until(next);
            if (!timer.running.empty())
                view->onTimer(1);
            afterTick();
        }
        return true;
    }

    std::string problem;
    PrivateSoundServer server;
    Messages said;
    PortAudioCapture capture{[this](const std::string& m) { said.add(m); }};
    TimedCapture timedCapture{capture};
    std::unique_ptr<SoundOutput> output;
    std::unique_ptr<SoundWordOutput> words;
    std::unique_ptr<CRecognizer> recognizer;
    SteadyClock clock;
    testing::FakeTimer timer;
    testing::FakeWindow window;
    testing::FakeConfirmation confirmation;
    testing::FakeDialogs dialogs;
    testing::FakeManuals manuals;
    testing::ScriptedRandom random{3};
    testing::FakeStatus status;
    std::unique_ptr<CBrindelView> view;

private:
    static inline int count_ = 0;
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

} // namespace tessimo::test
