#include "PrivateSoundServer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace tessimo::test {

namespace {

// Runs argv with the given environment, stdout into outFile when given (stderr to /dev/null).
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            const std::string& outFile = {}) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (const auto& e : environment)
        env.push_back(const_cast<char*>(e.c_str()));
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.empty() ? "/dev/null" : outFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// Ends a child: SIGTERM, then SIGKILL after two seconds; always reaps it.
void stopChild(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid = -1;
}

bool exitedWithSuccess(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The state letter of a process in /proc (R, S, T, Z...), or 0 when it is gone. A stopped or
// killed child is only reaped later, so its state says more than kill(pid, 0).
char processState(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("State:", 0) == 0) {
            const std::size_t at = line.find_first_not_of(" \t", 6);
            return at == std::string::npos ? 0 : line[at];
        }
    }
    return 0;
}

bool waitForState(pid_t pid, const std::string& states) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (states.find(processState(pid)) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

bool PrivateSoundServer::kill() {
    if (daemon_ <= 0 || ::kill(daemon_, SIGKILL) != 0)
        return false;
    int status = 0;
    waitpid(daemon_, &status, 0);
    daemon_ = -1;
    return true;
}

bool PrivateSoundServer::stop() {
    return daemon_ > 0 && ::kill(daemon_, SIGSTOP) == 0 && waitForState(daemon_, "T");
}

bool PrivateSoundServer::resume() {
    return daemon_ > 0 && ::kill(daemon_, SIGCONT) == 0 && waitForState(daemon_, "RSD");
}

bool PrivateSoundServer::restart(std::string& reason) {
    if (daemon_ > 0 || folder_.empty()) {
        reason = "the server is still running or was never started";
        return false;
    }
    const std::string socket = (folder_ / "native").string();
    std::filesystem::remove(socket);
    const std::vector<std::string> env = {"HOME=" + folder_.string(),
                                          "XDG_RUNTIME_DIR=" + folder_.string(),
                                          "PATH=/usr/bin:/bin", "PULSE_SERVER=unix:" + socket};
    daemon_ = spawn({"pulseaudio", "-n", "-F", (folder_ / "server.pa").string(), "--daemonize=no",
                     "--use-pid-file=no", "--exit-idle-time=-1",
                     "--log-target=file:" + (folder_ / "log").string()},
                    env);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (daemon_ > 0 && !exitedWithSuccess(spawn({"pactl", "info"}, env))) {
        if (std::chrono::steady_clock::now() > deadline) {
            reason = "pulseaudio did not answer within 5 s after the restart";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (daemon_ <= 0)
        reason = "pulseaudio could not be run again";
    return daemon_ > 0;
}

PrivateSoundServer::~PrivateSoundServer() {
    stopPlayers();
    stopChild(recorder_);
    for (auto& [source, pid] : otherRecorders_)
        stopChild(pid);
    if (daemon_ > 0)
        ::kill(daemon_, SIGCONT); // a stopped daemon would not see the SIGTERM
    stopChild(daemon_);
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool PrivateSoundServer::start(std::string& reason) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tessimo-pulse-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) { // created 0700
        reason = "no temporary folder";
        return false;
    }
    folder_ = pattern;
    const std::string socket = (folder_ / "native").string();
    {
        std::ofstream script(folder_ / "server.pa");
        script << "load-module module-native-protocol-unix auth-anonymous=1 socket=" << socket
               << "\nload-module module-null-sink sink_name=speaker rate=22000 channels=1"
                  " format=s16le norewinds=1\nset-default-sink speaker\n"
                  "load-module module-null-sink sink_name=micfeed rate=22000 channels=1"
                  " format=s16le norewinds=1\n"
                  "load-module module-remap-source master=micfeed.monitor source_name=mic\n"
                  "set-default-source mic\n";
    }
    const std::vector<std::string> env = {"HOME=" + folder_.string(),
                                          "XDG_RUNTIME_DIR=" + folder_.string(),
                                          "PATH=/usr/bin:/bin", "PULSE_SERVER=unix:" + socket};
    daemon_ = spawn({"pulseaudio", "-n", "-F", (folder_ / "server.pa").string(), "--daemonize=no",
                     "--use-pid-file=no", "--exit-idle-time=-1",
                     "--log-target=file:" + (folder_ / "log").string()},
                    env);
    if (daemon_ < 0) {
        reason = "pulseaudio could not be run";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!exitedWithSuccess(spawn({"pactl", "info"}, env))) {
        int status = 0;
        if (waitpid(daemon_, &status, WNOHANG) == daemon_) {
            daemon_ = -1;
            reason = "pulseaudio exited at start";
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            reason = "pulseaudio did not answer within 5 s";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    return true;
}

bool PrivateSoundServer::startRecording() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        env.emplace_back(*e);
    recorder_ = spawn({"parec", "-d", "speaker.monitor", "--raw", "--format=s16le", "--rate=22000",
                       "--channels=1", "--latency-msec=20"},
                      env, (folder_ / "heard.raw").string());
    return recorder_ > 0;
}

std::vector<float> PrivateSoundServer::stopRecording() {
    stopChild(recorder_);
    std::ifstream in(folder_ / "heard.raw", std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto lo = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto hi = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        samples[i] = static_cast<float>(static_cast<std::int16_t>(lo | hi << 8)) / 32768.0f;
    }
    return samples;
}

namespace {

std::vector<std::string> currentEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        env.emplace_back(*e);
    return env;
}

std::vector<float> readRaw(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto lo = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto hi = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        samples[i] = static_cast<float>(static_cast<std::int16_t>(lo | hi << 8)) / 32768.0f;
    }
    return samples;
}

} // namespace

bool PrivateSoundServer::startRecordingOf(const std::string& source) {
    const pid_t pid =
        spawn({"parec", "-d", source, "--raw", "--format=s16le", "--rate=22000", "--channels=1",
               "--latency-msec=20"},
              currentEnvironment(), (folder_ / ("heard-" + source + ".raw")).string());
    if (pid <= 0)
        return false;
    otherRecorders_.emplace_back(source, pid);
    return true;
}

std::vector<float> PrivateSoundServer::stopRecordingOf(const std::string& source) {
    for (auto it = otherRecorders_.begin(); it != otherRecorders_.end(); ++it) {
        if (it->first == source) {
            stopChild(it->second);
            otherRecorders_.erase(it);
            return readRaw(folder_ / ("heard-" + source + ".raw"));
        }
    }
    return {};
}

namespace {

// The audio-library device of this process that plays into the sink.
std::string alsaDefinition(const std::string& alsaName, const std::string& sinkName) {
    return "pcm." + alsaName + " {\n  type pulse\n  device " + sinkName + "\n}\n";
}

} // namespace

bool PrivateSoundServer::addSinkDevice(const std::string& sinkName, const std::string& alsaName) {
    const auto indexFile = folder_ / ("module-" + sinkName);
    const pid_t loader = spawn({"pactl", "load-module", "module-null-sink", "sink_name=" + sinkName,
                                "rate=22000", "channels=1", "format=s16le", "norewinds=1"},
                               currentEnvironment(), indexFile.string());
    if (!exitedWithSuccess(loader))
        return false;
    std::string index;
    std::ifstream(indexFile) >> index;
    sinkModules_.push_back({sinkName, index, alsaName});
    {
        std::ofstream rc(folder_ / ".asoundrc", std::ios::app);
        rc << alsaDefinition(alsaName, sinkName);
    }
    setenv("HOME", folder_.c_str(), 1);
    return true;
}

bool PrivateSoundServer::removeSink(const std::string& sinkName) {
    const auto added = std::find_if(sinkModules_.begin(), sinkModules_.end(),
                                    [&](const AddedSink& sink) { return sink.name == sinkName; });
    if (added == sinkModules_.end())
        return false;
    // The device's name goes first, as an unplugged device leaves the audio library's list:
    // a name left defined over a sink that is gone opens, and fails only in the library's own
    // stream start, which under load can deadlock inside the library.
    const auto rcPath = folder_ / ".asoundrc";
    std::string rc;
    {
        std::ifstream in(rcPath);
        rc.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string definition = alsaDefinition(added->alsaName, sinkName);
    if (const auto at = rc.find(definition); at != std::string::npos)
        rc.erase(at, definition.size());
    const auto written = folder_ / ".asoundrc.new";
    {
        std::ofstream out(written, std::ios::trunc);
        out << rc;
        if (!out.flush())
            return false;
    }
    std::filesystem::rename(written, rcPath);
    return exitedWithSuccess(spawn({"pactl", "unload-module", added->index}, currentEnvironment()));
}

bool PrivateSoundServer::play(const std::vector<std::int16_t>& samples) {
    const auto file = folder_ / ("played-" + std::to_string(playCount_++) + ".raw");
    {
        std::ofstream out(file, std::ios::binary);
        for (const std::int16_t s : samples) {
            const auto u = static_cast<std::uint16_t>(s);
            out.put(static_cast<char>(u & 0xFF));
            out.put(static_cast<char>(u >> 8));
        }
    }
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        env.emplace_back(*e);
    const pid_t player = spawn({"pacat", "--playback", "-d", "micfeed", "--raw", "--format=s16le",
                                "--rate=22000", "--channels=1", "--latency-msec=20", file.string()},
                               env);
    if (player <= 0)
        return false;
    players_.push_back(player);
    return true;
}

void PrivateSoundServer::waitForPlayers() {
    for (const pid_t player : players_) {
        int status = 0;
        waitpid(player, &status, 0);
    }
    players_.clear();
}

void PrivateSoundServer::stopPlayers() {
    for (pid_t& player : players_)
        stopChild(player);
    players_.clear();
}

} // namespace tessimo::test
