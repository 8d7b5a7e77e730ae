// A private sound server for tests with a real output device: a PulseAudio daemon in a fresh
// folder with one null sink, "speaker", as the default sink, which a recording client can hear
// through its monitor. Its default source, "mic", is a virtual microphone that hears whatever
// is played into the second null sink, "micfeed" (see play()). Start() points this process's sound
// clients at it (PULSE_SERVER); the destructor stops the daemon, reaps it and removes the folder.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tessimo::test {

class PrivateSoundServer {
public:
    PrivateSoundServer() = default;
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Starts the daemon and waits (up to 5 s) until it answers. Returns false with reason when
    // it cannot be started.
    bool start(std::string& reason);

    // Starts recording the speaker's monitor (22000 Hz mono) into a file in the server's
    // folder. Returns false when the recorder cannot be started.
    bool startRecording();

    // Stops the recorder and returns what it heard, scaled to -1..1.
    std::vector<float> stopRecording();

    static constexpr double RecordingRate = 22000;

    // Records the monitor of another sink ("speaker2.monitor") alongside the speaker's, until
    // stopRecordingOf(source) returns what it heard.
    bool startRecordingOf(const std::string& source);
    std::vector<float> stopRecordingOf(const std::string& source);

    // A second null sink (22000 Hz mono, like the speaker), and an audio-library device of
    // this process that plays into it, named alsaName. Call before the audio library is first
    // started in the process: it points HOME at the server's folder, where the device is
    // defined. Returns false when the sink cannot be made.
    bool addSinkDevice(const std::string& sinkName, const std::string& alsaName);
    // Removes that sink and its device name, as unplugging a device would; streams playing
    // into it end.
    bool removeSink(const std::string& sinkName);

    // Faults of the server. kill() ends the daemon with SIGKILL and waits until it is gone
    // (its socket then refuses clients); stop() sends SIGSTOP and waits until the daemon is
    // stopped, resume() SIGCONT; restart() starts a new daemon on the same socket after kill(),
    // waiting (up to 5 s) until it answers. A recording is lost with the daemon: stop it first
    // and start another after the restart.
    bool kill();
    bool stop();
    bool resume();
    bool restart(std::string& reason);

    // Plays 22000 Hz mono samples into the virtual microphone, in real time, from a player
    // process of its own; returns once the player runs. Players mix, so a quiet room noise can
    // go on under the words. Returns false when the player cannot be started.
    bool play(const std::vector<std::int16_t>& samples);
    // Waits until every player started by play() has ended.
    void waitForPlayers();
    // Stops every player at once.
    void stopPlayers();
    pid_t daemonPid() const { return daemon_; }

private:
    std::filesystem::path folder_;
    pid_t daemon_ = -1;
    pid_t recorder_ = -1;
    std::vector<std::pair<std::string, pid_t>> otherRecorders_;
    struct AddedSink {
        std::string name;
        std::string index; // of the server's module
        std::string alsaName;
    };
    std::vector<AddedSink> sinkModules_;
    std::vector<pid_t> players_;
    int playCount_ = 0;
};

} // namespace tessimo::test
