// The program's sound output: the General MIDI synthesiser playing through its own output
// stream on the default device, started in the background.
//
// Start-up runs on a worker thread that the constructor starts: it finds the SoundFont, opens
// the default output device, creates the synthesiser at the device's rate, loads the SoundFont
// and starts the stream. Until that has finished, MidiPlay cannot open its port: it returns 1
// and the notes of that call are dropped (the user-interface thread never waits for the
// device); the first call after start-up opens the port and plays. Without a device or a
// SoundFont the output stays silent, MidiPlay keeps returning 1, and silenceReason() says why.
//
// Recorded words are mixed into the same callback by the output's own WordPlayback: the
// user-interface thread converts a word to the stream's rate and publishes it lock-free, the
// audio thread only copies it and notes the stream frame after its last sample, so the word
// has left the speaker once framesRendered() passes that frame plus outputLatencyFrames().
//
// While nothing sounds the stream goes idle: after IdleAfterSeconds of exact silence (the synth
// has no reverb or chorus, so an idle synth renders exact zeros) with no message queued and no
// active word source, the callback lets the stream finish and the process uses no processor
// time. The next message queued through MidiPlay, or wakeOutput() after a word is published,
// starts it again on the user-interface thread before the message can be lost (see
// OutputIdleGate).
#pragma once

#include "sound/AudioRenderer.h"
#include "sound/ChannelMessageRing.h"
#include "sound/MidiOutput.h"
#include "sound/MidiPlayer.h"
#include "sound/OutputIdleGate.h"
#include "sound/SoundFontLocator.h"
#include "sound/SynthMidiPort.h"
#include "sound/WordPlayback.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tessimo {

class AudioOutputStream;
class PortAudioSession;
class SynthEngine;

class SoundOutput final : public MidiOutput, private AudioRenderer {
public:
    // Called once, from the start-up worker thread, when start-up has finished (ready or
    // silent); a user interface queues it to its own thread. It must neither destroy the
    // SoundOutput nor wait for the user-interface thread (whose destructor call waits for it).
    using StartupFinished = std::function<void()>;

    // Exact silence after which the stream goes idle.
    static constexpr double IdleAfterSeconds = 2.0;

    // Starts the start-up worker, which looks for the SoundFont in soundFontDirectory.
    // User-interface thread.
    explicit SoundOutput(StartupFinished onStartupFinished = {},
                         std::filesystem::path soundFontDirectory = SoundFontDirectory);

    // Waits for the start-up worker, then stops the stream and frees the synthesiser.
    // User-interface thread.
    ~SoundOutput() override;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // See MidiOutput. Notes sent before start-up has finished are dropped (returns 1).
    // User-interface thread only.
    int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths, int count,
                 std::uint8_t velocity, bool sustain) override;

    // True once start-up has finished, whatever its outcome. Any thread.
    bool startupFinished() const { return finished_.load(std::memory_order_acquire); }

    // True when the synthesiser sounds through the device. Any thread.
    bool isReady() const { return ready_.load(std::memory_order_acquire); }

    // Why the output is silent, in plain words for the status bar; empty while starting and
    // when the output works. Any thread.
    std::string silenceReason() const;

    // The stream's rate and channels, its latency and the frames rendered so far; all 0
    // until isReady(). Any thread.
    double sampleRate() const { return sampleRate_.load(std::memory_order_acquire); }
    int channelCount() const { return channelCount_.load(std::memory_order_acquire); }
    std::uint64_t outputLatencyFrames() const {
        return outputLatency_.load(std::memory_order_acquire);
    }
    std::uint64_t framesRendered() const;

    // True while the stream is idle (or going idle) and renders nothing. Any thread.
    bool isIdle() const;

    // Starts the stream again if it went idle; MidiPlay does this itself. Call it after making
    // the word source active. When idle it blocks for one stream start (a few milliseconds),
    // otherwise it costs a fence and a load. User-interface thread only.
    void wakeOutput();

    // Plays count samples of a recorded word (16-bit mono at 22000 Hz), cutting off a word
    // playing. The word is converted to the stream's rate here, on the calling thread, with the
    // fastest band-limited converter: its cost grows with the word's length (a word is at most
    // 20 s; bench_live prints the cost of 1 s and of 20 s). Returns false, playing nothing, while
    // the output is not ready or when the stream has not taken the last words. User-interface
    // thread only.
    bool playWord(const std::int16_t* samples, std::size_t count);
    // Stops a word playing; the next block is silent. User-interface thread only.
    void stopWord() { words_.stop(); }
    // True until the last sample of the word played has left the speaker, as the stream's
    // frame counter says. User-interface thread only.
    bool wordPlaying() { return words_.isPlaying(framesRendered(), outputLatencyFrames()); }
    // Frees the words the audio thread is done with; true while one is still held. Call it
    // now and then while wordPlaying() (a 500 ms poll). User-interface thread only.
    bool reclaimWords() { return words_.reclaim(); }

private:
    void startUp(const std::filesystem::path& soundFontDirectory);
    void finishStartUp(std::string reason);
    bool renderAudio(float* out, std::size_t frames, int channelCount,
                     std::uint64_t firstFrame) noexcept override;

    ChannelMessageRing ring_;
    SynthMidiPort port_{ring_, [this] { wakeOutput(); }};
    MidiPlayer player_{port_};
    StartupFinished onStartupFinished_;

    std::atomic<bool> stopping_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> ready_{false};
    std::atomic<double> sampleRate_{0};
    std::atomic<int> channelCount_{0};
    std::atomic<std::uint64_t> outputLatency_{0};
    std::atomic<AudioOutputStream*> readyStream_{nullptr};
    WordPlayback words_;
    mutable std::mutex reasonMutex_;
    std::string reason_;

    // Written by the worker only, read by the audio callback after the stream has started,
    // destroyed after the worker has been joined: stream first, then synth, then session.
    std::unique_ptr<PortAudioSession> session_;
    std::unique_ptr<SynthEngine> engine_;
    std::unique_ptr<OutputIdleGate> gate_;
    std::unique_ptr<AudioOutputStream> stream_;
    std::thread worker_;
};

// The program's one MIDI output. User-interface thread.
std::unique_ptr<SoundOutput> createSoundOutput(SoundOutput::StartupFinished onStartupFinished);

} // namespace tessimo
