// The program's sound output: the General MIDI synthesiser and the recorded words, at the
// master volume, playing through its own output stream on the device the user chose (by default
// the system's default device; see chooseDevice).
//
// Threads. No call that can wait on the sound server (initialise, open, start, stop, close)
// runs on the user-interface thread: they all run on the output's one device thread (a
// DeviceWorker), and every method here returns without waiting for it. A note asked for while
// the device thread is busy (starting, waking the stream, reconnecting) is either played a few
// milliseconds late, when the stream is being woken, or dropped with MidiPlay returning 1;
// it is never waited for. The destructor waits at most ExitBound for the device thread, then
// leaves it to finish on its own (see ~SoundOutput).
//
// Start-up runs on the device thread, which the constructor starts: it finds the SoundFont,
// opens the default output device, creates the synthesiser at the device's rate, loads the
// SoundFont and starts the stream. Until then MidiPlay returns 1 and drops its notes. Without a
// SoundFont the output stays silent for good; without a device it is silent and tries again
// (at most once a second) when a note is asked for. silenceReason() says why it is silent.
//
// Losing the server. While the stream should run, the device thread checks it four times a
// second: when the stream ends by itself (the server went away) the status becomes Lost, the
// listener hears of it once, and the device thread opens a fresh stream after 0.25, 0.5, 1 and
// then every 2 s for a minute, afterwards whenever a note is asked for. When the stream stops
// advancing (the server is stopped or hung) the status is Lost too, and Ready again when it
// advances. Back to Ready, the listener hears of it once more. Notes asked for meanwhile are
// dropped, not played late all at once; program changes are kept.
//
// Recorded words are mixed into the same callback by the output's own WordPlayback: the
// user-interface thread converts a word to the stream's rate and publishes it lock-free, the
// audio thread only copies it and notes the stream frame after its last sample, so the word
// has left the speaker once framesRendered() passes that frame plus outputLatencyFrames().
// framesRendered() keeps counting across a reconnection. A source that captures or plays
// through the sound library follows the same rule: its opens, starts, stops and closes run on
// a thread of its own, never on the user-interface thread.
//
// While nothing sounds the stream goes idle: after IdleAfterSeconds of exact silence (the synth
// has no reverb or chorus, so an idle synth renders exact zeros) with no message queued and no
// active word source, the callback lets the stream finish and the process uses no processor
// time. The next message queued through MidiPlay, or wakeOutput() after a word is published,
// asks the device thread for a fresh stream (see OutputIdleGate); the message waits in the
// synth's queue and sounds when the stream starts, a few milliseconds later.
#pragma once

#include "sound/AudioRenderer.h"
#include "sound/DeviceWorker.h"
#include "sound/MidiOutput.h"
#include "sound/MidiPlayer.h"
#include "sound/SoundDevices.h"
#include "sound/SoundFontLocator.h"
#include "sound/SynthMidiPort.h"
#include "sound/WordPlayback.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessimo {

class SoundOutput final : public MidiOutput {
public:
    enum class Status {
        Starting, // start-up has not finished
        Ready,    // the synthesiser sounds through the device
        Silent,   // start-up failed: no SoundFont, no device
        Lost,     // it worked, then the stream died or stopped advancing; trying again
    };

    // Called on the device thread after start-up has finished (ready or silent) and after every
    // later change of status(); a user interface queues it to its own thread and reads
    // statusMessage() there. It must neither destroy the SoundOutput nor wait for the
    // user-interface thread (whose destructor call may wait for it to return).
    using StatusChanged = std::function<void()>;
    using StartupFinished = StatusChanged;

    // Exact silence after which the stream goes idle.
    static constexpr double IdleAfterSeconds = 2.0;

    // Start-up taking longer than this is slow: a user interface may say StalledMessage
    // meanwhile, and the output says LateReadyMessage once it is ready after all.
    static constexpr auto SlowStartup = std::chrono::seconds(3);

    // The longest the destructor waits for the device thread.
    static constexpr auto ExitBound = std::chrono::milliseconds(250);

    // Texts of the status changes after start-up.
    static constexpr const char* LostMessage = "The sound output was lost; trying to reconnect";
    static constexpr const char* StalledMessage = "The sound server does not answer";
    static constexpr const char* BackMessage = "The sound output works again";
    static constexpr const char* LateReadyMessage = "The sound output is ready";

    // Starts the device thread, which looks for the SoundFont in soundFontDirectory.
    // User-interface thread.
    explicit SoundOutput(StatusChanged onStatusChanged = {},
                         std::filesystem::path soundFontDirectory = SoundFontDirectory);

    // Stops the listener at once, then asks the device thread to close the stream, free the
    // synthesiser and end the sound library, and waits for that at most ExitBound. A device
    // thread still waiting on a stopped or hung server after that is left running on its own:
    // it owns the stream, the synthesiser and its queue (nothing of this object) and frees
    // them if the server ever answers, or the process ends first. Joining it instead could
    // keep the program from exiting for as long as the server stays stopped.
    // User-interface thread.
    ~SoundOutput() override;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // See MidiOutput. Returns 1 and drops the notes while status() is not Ready (and asks for
    // a new attempt when the output can try again). Never waits for the device.
    // User-interface thread only.
    int MidiPlay(int program, const std::uint8_t* keys, const std::uint8_t* lengths, int count,
                 std::uint8_t velocity, bool sustain) override;

    // See MidiOutput; the same rules as MidiPlay. User-interface thread only.
    int keyDown(int program, std::uint8_t key, std::uint8_t velocity) override;
    int keyUp(std::uint8_t key) override;

    // See MidiOutput. Never waits for the device. An idle stream with no key held renders
    // exact silence already and is not woken for it. User-interface thread only.
    int silenceAll() override;

    // Any thread.
    Status status() const;
    bool startupFinished() const { return status() != Status::Starting; }
    bool isReady() const { return status() == Status::Ready; }

    // Why the output is silent, in plain words for the status bar; empty while starting and
    // while the output works. Any thread.
    std::string silenceReason() const;

    // What the status bar says about the latest status change: the reason while silent or
    // lost, BackMessage or LateReadyMessage when it works again after that or after a slow
    // start-up, empty otherwise.
    // Any thread.
    std::string statusMessage() const;

    // The stream's rate and channels, its latency and the frames rendered so far (counted
    // across reconnections); all 0 until the output was first ready. Any thread.
    double sampleRate() const;
    int channelCount() const;
    std::uint64_t outputLatencyFrames() const;
    std::uint64_t framesRendered() const;

    // True while the stream is idle (or going idle, or being woken) and renders nothing.
    // Any thread.
    bool isIdle() const;

    // Asks for the stream to start again if it went idle; MidiPlay does this itself. Call it
    // after making the word source active. Never waits: when idle it queues the restart on the
    // device thread, otherwise it costs a fence and a load. User-interface thread only.
    void wakeOutput();

    // Plays count samples of a recorded word (16-bit mono at 22000 Hz), cutting off a word
    // playing. The word is converted to the stream's rate here, on the calling thread, with the
    // fastest band-limited converter: its cost grows with the word's length (a word is at most
    // 20 s; bench_live prints the cost of 1 s and of 20 s). Returns false, playing nothing, while
    // the output is not ready or when the stream has not taken the last words. User-interface
    // thread only.
    bool playWord(const std::int16_t* samples, std::size_t count);
    // Stops a word playing; the next block is silent. User-interface thread only.
    void stopWord();
    // True until the last sample of the word played has left the speaker, as the stream's
    // frame counter says. User-interface thread only.
    bool wordPlaying();
    // Frees the words the audio thread is done with; true while one is still held. Call it
    // now and then while wordPlaying() (a 500 ms poll). User-interface thread only.
    bool reclaimWords();

    // Called on the device thread when a choice of device has been tried: switched is false
    // when the device failed, message then says why and where the sound stays. Like
    // StatusChanged, it must not wait for the user-interface thread.
    using DeviceChosen = std::function<void(bool switched, const std::string& message)>;
    using DevicesListed = std::function<void(std::vector<SoundDeviceInfo>)>;

    // Plays from now on through the output device called name (empty: the default one),
    // without stopping the program: the stream is closed and opened on the new device. A
    // device that cannot be opened leaves the sound on the device that played before. Later,
    // when a chosen device goes away, the output goes on on the default device and says so.
    // Never waits; done runs on the device thread. User-interface thread.
    void chooseDevice(std::string name, DeviceChosen done = {});

    // Lists the sound devices on the device thread and hands them to done there. While the
    // stream is idle the audio library is started afresh first, so that devices that came or
    // went since are seen. Never waits. User-interface thread.
    void listDevices(DevicesListed done);

    // The device the stream plays on, empty for the default device. Any thread.
    std::string deviceName() const;

    // The master volume of the synthesiser and the recorded words, 0..100 percent (see
    // MasterVolume.h); it applies from the next block on. Any thread.
    void setVolumePercent(int percent);
    int volumePercent() const;

private:
    struct Device;

    // True when notes can be queued now; otherwise false, asking for a new attempt when the
    // output is lost or silent. User-interface thread.
    bool readyToPlay();
    void askForRetry();

    DeviceWorker worker_;
    std::shared_ptr<Device> device_;
    SynthMidiPort port_;
    MidiPlayer player_{port_};
    std::chrono::steady_clock::time_point lastRetryAsked_{};
};

// The program's one MIDI output. User-interface thread.
std::unique_ptr<SoundOutput> createSoundOutput(SoundOutput::StatusChanged onStatusChanged);

} // namespace tessimo
