// Delays of the live sound path, measured through a private sound server's virtual devices:
//  - end of a spoken word (the quiet capture buffer that ends it) to its judgement by the
//    engine on the user-interface thread;
//  - a click's note (MidiPlay) and PlayWord to their first sample heard on the speaker's
//    monitor through a second capture, beside the output stream's reported latency;
//  - the cost of PlayWord's rate conversion on the calling thread.
// Skips what it cannot start (no pulseaudio, no SoundFont) and says so.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "LiveRig.h"
#include "game/CommandIds.h"
#include "recognition/Signals.h"
#include "sound/Resampler.h"

using namespace tessimo;
using namespace tessimo::test;

namespace {

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Hands the callback over to a waiting "user-interface" thread as the window's queued call
// would, and times the judgement there.
void endOfWordToJudgement() {
    LiveRig rig;
    if (!rig.ready()) {
        std::printf("end of word to judgement: skipped (%s)\n", rig.problem.c_str());
        return;
    }
    // Templates from the same signal, made without a device.
    const auto word = testing::chirp(500, 1000, 9000, 2 * CaptureBufferSamples);
    {
        CRecognizer offline;
        const auto quiet = roomNoise(CaptureBufferSamples);
        offline.StartNoiseMeasure();
        offline.onCaptureBuffer(quiet.data(), quiet.size());
        offline.StartWordRecording(60);
        offline.onCaptureBuffer(word.data(), CaptureBufferSamples);
        offline.onCaptureBuffer(word.data() + CaptureBufferSamples, CaptureBufferSamples);
        offline.StopCapture();
        offline.SaveTemplates("record.dat");
    }
    std::mutex mutex;
    std::condition_variable posted;
    bool pending = false;
    rig.view->setWordArrivalNotifier([&] {
        std::lock_guard lock(mutex);
        pending = true;
        posted.notify_all();
    });
    rig.view->loadUserFiles();
    SettingsRecord s = testing::settingsWith({60});
    s.soundMode = Instrument;
    s.speed = 0;
    rig.prepare(s);
    rig.view->onCommand(RecognizeCommand);
    for (int i = 0; i < 60; ++i) { // the first question reaches the stop
        rig.view->onTimer(1);
    }
    std::vector<double> delays;
    std::vector<std::int16_t> stream = roomNoise(22000 * 12);
    for (std::size_t at = 11000; at + 30000 < stream.size(); at += 22000)
        for (std::size_t i = 0; i < word.size(); ++i)
            stream[at + i] = static_cast<std::int16_t>(stream[at + i] + word[i]);
    rig.server.play(stream);
    const auto end = SteadyTime::now() + std::chrono::seconds(12);
    int judged = 0;
    while (SteadyTime::now() < end && delays.size() < 8) {
        std::unique_lock lock(mutex);
        if (!posted.wait_for(lock, std::chrono::milliseconds(200), [&] { return pending; }))
            continue;
        pending = false;
        lock.unlock();
        rig.view->judgeRecognizedWords();
        const auto now = SteadyTime::now();
        const int count = rig.view->state().okCount + rig.view->state().errorCount;
        if (count != judged) {
            judged = count;
            delays.push_back(
                std::chrono::duration<double, std::milli>(now - rig.timedCapture.lastDelivery())
                    .count());
        }
        for (int i = 0; i < 30; ++i) { // the next question comes to the stop
            rig.view->onTimer(1);
        }
    }
    rig.view->onCommand(PlayNotesCommand);
    std::printf("end of word to judgement on the user-interface thread: median %.2f ms, "
                "max %.2f ms over %zu words (after the quiet buffer's last sample was "
                "delivered; the capture thread polls every 4 ms)\n",
                median(delays),
                delays.empty() ? 0.0 : *std::max_element(delays.begin(), delays.end()),
                delays.size());
}

// Notes the first buffer holding sound after arm(), and estimates when its first loud sample
// was captured: the buffer was delivered when its last sample had arrived.
class OnsetSink : public CaptureSink {
public:
    void arm() {
        std::lock_guard lock(mutex_);
        armed_ = true;
        found_ = false;
    }
    void onCaptureBuffer(const std::int16_t* samples, std::size_t count) override {
        const auto now = SteadyTime::now();
        std::lock_guard lock(mutex_);
        if (!armed_ || found_)
            return;
        for (std::size_t i = 0; i < count; ++i) {
            if (std::abs(samples[i]) > 300) {
                onset_ = now - std::chrono::duration_cast<SteadyTime::duration>(
                                   std::chrono::duration<double>((count - i) / 22000.0));
                found_ = true;
                changed_.notify_all();
                return;
            }
        }
    }
    // Milliseconds from t0 to the onset, or -1 when none came within timeout.
    double waitOnset(SteadyTime::time_point t0, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, timeout, [&] { return found_; }))
            return -1;
        armed_ = false;
        return std::chrono::duration<double, std::milli>(onset_ - t0).count();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = false;
    bool found_ = false;
    SteadyTime::time_point onset_;
};

void firstSoundDelays() {
    LiveRig rig;
    if (!rig.ready()) {
        std::printf("first sound: skipped (%s)\n", rig.problem.c_str());
        return;
    }
    // A second capture hears the speaker's monitor.
    if (!run("pactl set-default-source speaker.monitor")) {
        std::printf("first sound: skipped (the monitor cannot be made the default source)\n");
        return;
    }
    PortAudioCapture monitor;
    OnsetSink onset;
    monitor.start(onset);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double latency =
        1000.0 * static_cast<double>(rig.output->outputLatencyFrames()) / rig.output->sampleRate();
    const std::uint8_t key = 72, length = 0;
    std::vector<double> idle, running, words;
    for (int i = 0; i < 5; ++i) {
        // A click on a key after the stream went idle, and one while it runs.
        std::this_thread::sleep_for(std::chrono::milliseconds(2600));
        onset.arm();
        auto t0 = SteadyTime::now();
        rig.output->MidiPlay(0, &key, &length, 1, ExerciseVelocity, false);
        idle.push_back(onset.waitOnset(t0, std::chrono::seconds(2)));
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        rig.output->MidiStop();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        onset.arm();
        t0 = SteadyTime::now();
        rig.output->MidiPlay(0, &key, &length, 1, ExerciseVelocity, false);
        running.push_back(onset.waitOnset(t0, std::chrono::seconds(2)));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        rig.output->MidiStop();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        // A recorded word while the stream runs.
        const auto word = sine(660, 9000, 11000);
        onset.arm();
        t0 = SteadyTime::now();
        rig.words->playWord(word.data(), word.size());
        words.push_back(onset.waitOnset(t0, std::chrono::seconds(2)));
    }
    monitor.stop();
    std::printf("click to first sound (stream idle before): median %.1f ms\n", median(idle));
    std::printf("click to first sound (stream running): median %.1f ms\n", median(running));
    std::printf("PlayWord to first sample: median %.1f ms\n", median(words));
    std::printf("  output stream's reported latency %.1f ms at %.0f Hz; the figures include the "
                "capture of the speaker's monitor, so they are upper bounds\n",
                latency, rig.output->sampleRate());
}

void conversionCost() {
    for (const double seconds : {1.0, 20.0}) {
        const auto word = sine(440, 9000, static_cast<std::size_t>(seconds * 22000));
        std::vector<double> ms;
        for (int i = 0; i < 5; ++i) {
            const auto t0 = SteadyTime::now();
            const auto out = Resampler::convertRecording(word.data(), word.size(), 22000, 48000);
            ms.push_back(millisecondsSince(t0));
        }
        std::printf("PlayWord's conversion of a %.0f s word to 48000 Hz: median %.1f ms\n", seconds,
                    median(ms));
    }
}

} // namespace

int main() {
    conversionCost();
    endOfWordToJudgement();
    firstSoundDelays();
    return 0;
}
