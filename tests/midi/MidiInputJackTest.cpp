// The MIDI input through a real MIDI system: a private JACK server (dummy back end, started by
// with_jack_server.sh) and this test's own RtMidi output ports playing the keyboard. Covers
// the program's own input port, sources appearing and vanishing while it runs, and a chord
// grouped into one answer. Prints the delays it measured.
#include "midi/KeyGrouper.h"
#include "midi/MidiInput.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tessimo {
namespace {

using namespace std::chrono_literals;

std::string unique(const std::string& stem) {
    return stem + "-" + std::to_string(::getpid());
}

double msSince(std::int64_t startNs) {
    return (MidiInput::nowNs() - startNs) / 1e6;
}

// Waits for a status that satisfies want; every status change seen is appended to seen.
std::optional<MidiInputStatus>
waitForStatus(MidiInput& input, const std::function<bool(const MidiInputStatus&)>& want,
              std::vector<MidiInputStatus>& seen, std::chrono::milliseconds timeout = 5000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto status = input.takeStatusChange()) {
            seen.push_back(*status);
            if (want(*status)) {
                return status;
            }
        }
        std::this_thread::sleep_for(2ms);
    }
    return std::nullopt;
}

// The key waitUntilConnected knocks with; no check plays it.
constexpr std::uint8_t KnockKey = 0;

// Drains until count events arrived or the timeout passed; stamps each with its drain time.
// A knock that comes late (its sender's cycle was delayed) is not one of the events waited for.
std::vector<std::pair<MidiKeyEvent, std::int64_t>>
drainEvents(MidiInput& input, std::size_t count, std::chrono::milliseconds timeout = 5000ms) {
    std::vector<std::pair<MidiKeyEvent, std::int64_t>> got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        for (const MidiKeyEvent& event : input.drain()) {
            if (event.key != KnockKey) {
                got.emplace_back(event, MidiInput::nowNs());
            }
        }
        std::this_thread::sleep_for(1ms);
    }
    return got;
}

void send(RtMidiOut& out, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    std::vector<unsigned char> message{status, data1, data2};
    out.sendMessage(&message);
}

// A new connection takes effect within a few cycles of the server: knock with a key nobody
// plays until one arrives, then let the rest of the knocks arrive and throw them away.
// Returns when the first knock arrived (steady clock, ns), or 0 when none did.
std::int64_t waitUntilConnected(RtMidiOut& out, MidiInput& input) {
    std::int64_t arrived = 0;
    for (int i = 0; i < 500 && arrived == 0; ++i) {
        send(out, 0x90, KnockKey, 1);
        std::this_thread::sleep_for(10ms);
        const auto events = input.drain();
        arrived = events.empty() ? 0 : events.front().timeNs;
    }
    std::this_thread::sleep_for(200ms);
    (void)input.drain();
    return arrived;
}

bool isState(const MidiInputStatus& s, MidiInputState state) {
    return s.state == state;
}

// Counts the server's overrun cycles, as a client of its own. In a cycle that a client did not
// finish, JACK drops that cycle's MIDI in the server itself, before any client sees it; such a
// loss is the machine's, not the input's.
class ServerOverruns {
public:
    ServerOverruns() {
        jack_status_t status{};
        client_.reset(jack_client_open(unique("overruns").c_str(), JackNoStartServer, &status));
        if (client_) {
            jack_set_xrun_callback(client_.get(), &ServerOverruns::count, &count_);
            jack_activate(client_.get());
        }
    }
    bool watching() const { return client_ != nullptr; }
    int count() const { return count_.load(); }

private:
    static int count(void* counter) {
        static_cast<std::atomic<int>*>(counter)->fetch_add(1);
        return 0;
    }
    struct Close {
        void operator()(jack_client_t* client) const { jack_client_close(client); }
    };
    std::atomic<int> count_{0};
    std::unique_ptr<jack_client_t, Close> client_;
};

// Runs attempt, and again (up to three times) while it failed in a stretch where the server
// overran. Fails the test when an attempt failed without an overrun.
void passUnlessOverrun(ServerOverruns& overruns, const std::function<bool()>& attempt) {
    ASSERT_TRUE(overruns.watching());
    for (int i = 0; i < 3; ++i) {
        const int before = overruns.count();
        if (attempt()) {
            return;
        }
        std::this_thread::sleep_for(50ms);
        ASSERT_GT(overruns.count(), before) << "failed without an overrun of the server";
        std::printf("attempt %d met an overrun of the server; again\n", i + 1);
    }
}

struct SentKey {
    KeyAction action;
    std::uint8_t key;
    std::uint8_t velocity;
    std::uint8_t channel;
};

bool sameKey(const MidiKeyEvent& got, const SentKey& sent) {
    return got.action == sent.action && got.key == sent.key &&
           (sent.action == KeyAction::Release || got.velocity == sent.velocity) &&
           got.channel == sent.channel;
}

// Plays Keys keys as fast as a keyboard player could, each press followed by a pedal message
// (not a key event) and its release, in both release forms. Returns what should arrive.
std::vector<SentKey> playBurst(RtMidiOut& out, int keys) {
    std::vector<SentKey> sent;
    for (int i = 0; i < keys; ++i) {
        const auto key = static_cast<std::uint8_t>(36 + i % 48);
        const auto channel = static_cast<std::uint8_t>(i % 16);
        const auto velocity = static_cast<std::uint8_t>(1 + i);
        send(out, 0x90 | channel, key, velocity);
        send(out, 0xB0, 64, 127);
        send(out, i % 2 == 0 ? 0x80 : 0x90, key, 0);
        sent.push_back({KeyAction::Press, key, velocity, channel});
        sent.push_back({KeyAction::Release, key, 0, 0});
        std::this_thread::sleep_for(3ms);
    }
    return sent;
}

std::string describe(const MidiKeyEvent& event) {
    return std::string(event.action == KeyAction::Press ? "press" : "release") + " key " +
           std::to_string(event.key) + " velocity " + std::to_string(event.velocity) + " channel " +
           std::to_string(event.channel);
}

// Where the received events stop matching the sent ones in order (sent ones that never came
// are skipped): the index of the first event that was not sent, or came out of order, or
// got.size() when all match.
std::size_t firstStranger(const std::vector<std::pair<MidiKeyEvent, std::int64_t>>& got,
                          const std::vector<SentKey>& sent) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        while (next < sent.size() && !sameKey(got[i].first, sent[next])) {
            ++next;
        }
        if (next == sent.size()) {
            return i;
        }
        ++next;
    }
    return got.size();
}

TEST(MidiInputJack, OwnPortDeliversEveryKeyIntactAndInOrder) {
    MidiInputOptions options;
    options.clientName = unique("tessimo-own");
    options.backend = MidiBackendChoice::Jack;
    options.connectSources = false;
    MidiInput input(options);

    std::vector<MidiInputStatus> seen;
    const auto ready = waitForStatus(
        input, [](const MidiInputStatus& s) { return isState(s, MidiInputState::NoDevice); }, seen);
    ASSERT_TRUE(ready) << (seen.empty() ? "no status" : describeMidiInputStatus(seen.back()));
    EXPECT_EQ(ready->backend, "JACK");
    EXPECT_EQ(describeMidiInputStatus(*ready), "No MIDI keyboard connected");

    // Another program connects its output to the program's input port.
    RtMidiOut out(RtMidi::UNIX_JACK, unique("player"));
    unsigned port = out.getPortCount();
    for (unsigned i = 0; i < out.getPortCount(); ++i) {
        if (out.getPortName(i) == ready->inputPort) {
            port = i;
        }
    }
    ASSERT_LT(port, out.getPortCount()) << "no port " << ready->inputPort;
    out.openPort(port, "out");
    ASSERT_NE(waitUntilConnected(out, input), 0) << "the connection never carried a key";

    // Every key intact and in order. A burst that met an overrun of the server may come short
    // (never out of order or changed) and is played again; one without must come whole.
    ServerOverruns overruns;
    ASSERT_TRUE(overruns.watching());
    constexpr int Keys = 60;
    bool whole = false;
    for (int attempt = 0; attempt < 5 && !whole; ++attempt) {
        const int overrunsBefore = overruns.count();
        const std::vector<SentKey> sent = playBurst(out, Keys);
        const auto got = drainEvents(input, sent.size());
        std::this_thread::sleep_for(50ms); // an overrun's notice comes after the cycle
        const std::size_t stranger = firstStranger(got, sent);
        ASSERT_EQ(stranger, got.size())
            << "event " << stranger << " of " << got.size()
            << " was not sent or came out of order: " << describe(got[stranger].first)
            << (stranger > 0 ? ", after " + describe(got[stranger - 1].first) : std::string());
        for (std::size_t i = 1; i < got.size(); ++i) {
            EXPECT_LE(got[i - 1].first.timeNs, got[i].first.timeNs);
        }
        whole = got.size() == sent.size();
        const int overrun = overruns.count() - overrunsBefore;
        std::printf("burst %d: %zu of %zu events arrived; the server overran %d times\n",
                    attempt + 1, got.size(), sent.size(), overrun);
        if (!whole) {
            ASSERT_GT(overrun, 0) << "events lost without an overrun of the server";
        }
    }
    if (!whole) {
        std::printf("every burst met an overrun of the server: order and contents checked, "
                    "completeness not\n");
    }
    EXPECT_EQ(input.droppedEvents(), 0u);

    // One key at a time, drained as the user-interface thread would (here every 1 ms).
    std::vector<double> arrivalMs; // send to the MIDI thread's callback
    std::vector<double> latencyMs; // send to the drain on this thread
    // A cycle that overran (a sanitizer build, a busy machine) loses its MIDI in the server
    // itself: such a key is counted, not waited for, and only an overrun excuses it.
    int lost = 0;
    const int overrunsBeforeKeys = overruns.count();
    for (int i = 0; i < 40; ++i) {
        const std::int64_t sent = MidiInput::nowNs();
        send(out, 0x90, 60, 64);
        const auto one = drainEvents(input, 1, 1000ms);
        if (one.size() != 1u) {
            ++lost;
        } else {
            arrivalMs.push_back((one[0].first.timeNs - sent) / 1e6);
            latencyMs.push_back((one[0].second - sent) / 1e6);
        }
        send(out, 0x80, 60, 0);
        if (drainEvents(input, 1, 1000ms).size() != 1u)
            ++lost;
    }
    std::this_thread::sleep_for(50ms);
    const int overrunsInKeys = overruns.count() - overrunsBeforeKeys;
    std::printf("keys lost: %d of 80; the server overran %d times\n", lost, overrunsInKeys);
    if (lost > 0) {
        EXPECT_GT(overrunsInKeys, 0) << "keys lost without an overrun of the server";
    }
    ASSERT_FALSE(arrivalMs.empty());
    std::sort(arrivalMs.begin(), arrivalMs.end());
    std::sort(latencyMs.begin(), latencyMs.end());
    std::printf("JACK, 256 frames at 44100 Hz, drained every 1 ms: send to arrival median %.2f ms, "
                "max %.2f ms; send to drain median %.2f ms, max %.2f ms\n",
                arrivalMs[arrivalMs.size() / 2], arrivalMs.back(), latencyMs[latencyMs.size() / 2],
                latencyMs.back());
    // Nothing changed, so no second status.
    EXPECT_FALSE(input.takeStatusChange());
}

TEST(MidiInputJack, KeyboardsPluggedInAreConnectedAndUnpluggedOnesForgotten) {
    MidiInputOptions options;
    options.clientName = unique("tessimo-plug");
    options.backend = MidiBackendChoice::Jack;
    MidiInput input(options);
    std::vector<MidiInputStatus> seen;
    ASSERT_TRUE(waitForStatus(
        input, [](const MidiInputStatus& s) { return isState(s, MidiInputState::NoDevice); },
        seen));

    const std::string keyboard = unique("kbd");
    auto out = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, keyboard);
    const std::int64_t plugged = MidiInput::nowNs();
    out->openVirtualPort("keys");
    const auto connected = waitForStatus(
        input, [](const MidiInputStatus& s) { return isState(s, MidiInputState::Connected); },
        seen);
    const double plugDelay = msSince(plugged);
    ASSERT_TRUE(connected);
    EXPECT_EQ(describeMidiInputStatus(*connected), "Keyboard: " + keyboard + ":keys connected");
    waitUntilConnected(*out, input);

    // A chord struck within the window forms one answer.
    ServerOverruns overruns;
    passUnlessOverrun(overruns, [&] {
        for (std::uint8_t key : {60, 64, 67}) {
            send(*out, 0x90, key, 90);
            std::this_thread::sleep_for(10ms);
        }
        KeyGrouper grouper(AnswerShape::KeyGroup);
        std::vector<KeyAnswer> answers;
        for (const auto& [event, drainedAt] : drainEvents(input, 3, 1000ms)) {
            (void)drainedAt;
            if (auto answer = grouper.feed(event, event.timeNs / 1000000)) {
                answers.push_back(*answer);
            }
        }
        if (auto answer = grouper.poll(MidiInput::nowNs() / 1000000 + GroupWindowMs + 1)) {
            answers.push_back(*answer);
        }
        return answers.size() == 1u && answers[0].keys == std::vector<std::uint8_t>{60, 64, 67};
    });

    // Unplugged: forgotten, without an error.
    const std::int64_t unplugged = MidiInput::nowNs();
    out.reset();
    const auto gone = waitForStatus(
        input, [](const MidiInputStatus& s) { return !isState(s, MidiInputState::Connected); },
        seen);
    const double unplugDelay = msSince(unplugged);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->state, MidiInputState::NoDevice);

    // Plugged in again, and it plays.
    out = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, keyboard);
    out->openVirtualPort("keys");
    ASSERT_TRUE(waitForStatus(
        input, [](const MidiInputStatus& s) { return isState(s, MidiInputState::Connected); },
        seen));
    ASSERT_NE(waitUntilConnected(*out, input), 0);
    passUnlessOverrun(overruns, [&] {
        send(*out, 0x90, 72, 50);
        const auto again = drainEvents(input, 1, 1000ms);
        return again.size() == 1u && again[0].first.key == 72;
    });

    for (const MidiInputStatus& status : seen) {
        EXPECT_NE(status.state, MidiInputState::Failed) << status.detail;
    }
    // Every change reported once: NoDevice, Connected, NoDevice, Connected.
    EXPECT_EQ(seen.size(), 4u);
    std::printf("plug-in to first key received: %.0f ms; unplug to forgotten: %.0f ms (poll every "
                "%lld ms)\n",
                plugDelay, unplugDelay, static_cast<long long>(options.pollInterval.count()));
}

TEST(MidiInputJack, TwoKeyboardsAtOnceAreBothNamed) {
    MidiInputOptions options;
    options.clientName = unique("tessimo-two");
    options.backend = MidiBackendChoice::Jack;
    MidiInput input(options);
    RtMidiOut first(RtMidi::UNIX_JACK, unique("left"));
    first.openVirtualPort("keys");
    RtMidiOut second(RtMidi::UNIX_JACK, unique("right"));
    second.openVirtualPort("keys");
    std::vector<MidiInputStatus> seen;
    const auto both = waitForStatus(
        input, [](const MidiInputStatus& s) { return s.devices.size() == 2; }, seen);
    ASSERT_TRUE(both);
    EXPECT_EQ(describeMidiInputStatus(*both).rfind("Keyboards: ", 0), 0u);
    ASSERT_NE(waitUntilConnected(first, input), 0);
    ASSERT_NE(waitUntilConnected(second, input), 0);
    ServerOverruns overruns;
    passUnlessOverrun(overruns, [&] {
        send(first, 0x90, 50, 10);
        std::this_thread::sleep_for(20ms);
        send(second, 0x90, 51, 11);
        const auto got = drainEvents(input, 2, 1000ms);
        // Merged in the order they arrived.
        return got.size() == 2u && got[0].first.key == 50 && got[1].first.key == 51;
    });
}

TEST(MidiInputJack, AutomaticTakesJackWhereThereIsNoSequencer) {
    if (::access("/dev/snd/seq", F_OK) == 0) {
        GTEST_SKIP() << "this machine has an ALSA sequencer, which comes first";
    }
    MidiInputOptions options;
    options.clientName = unique("tessimo-auto");
    MidiInput input(options);
    std::vector<MidiInputStatus> seen;
    const auto ready = waitForStatus(
        input, [](const MidiInputStatus& s) { return isState(s, MidiInputState::NoDevice); }, seen);
    ASSERT_TRUE(ready);
    EXPECT_EQ(ready->backend, "JACK");
}

// A JACK server of this test's own, started and stopped by process id, so that it can go away
// while the input uses it.
class OwnJackServer {
public:
    explicit OwnJackServer(std::string name) : name_(std::move(name)) {}
    ~OwnJackServer() { stop(); }

    bool start() {
        const std::string log = "/tmp/" + name_ + ".log";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> args{"jackd", "-n",    name_, "-d", "dummy",
                                      "-r",    "44100", "-p",  "256"};
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        const int spawned = posix_spawnp(&pid_, "jackd", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        std::remove(log.c_str());
        if (spawned != 0) {
            pid_ = -1;
            return false;
        }
        for (int i = 0; i < 50; ++i) { // ready once a client can connect
            if (::system(("jack_lsp -s " + name_ + " >/dev/null 2>&1").c_str()) == 0) {
                return true;
            }
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    void stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }

private:
    std::string name_;
    pid_t pid_ = -1;
};

TEST(MidiInputJack, AServerThatGoesAwayIsSaidOnceWithoutACrash) {
    const std::string server = unique("tessimo-second");
    const char* previous = std::getenv("JACK_DEFAULT_SERVER");
    const std::string restore = previous != nullptr ? previous : "";
    ::setenv("JACK_DEFAULT_SERVER", server.c_str(), 1); // before any thread of the input reads it
    {
        OwnJackServer jack(server);
        ASSERT_TRUE(jack.start());
        MidiInputOptions options;
        options.clientName = unique("tessimo-gone");
        options.backend = MidiBackendChoice::Jack;
        options.pollInterval = 200ms;
        MidiInput input(options);
        std::vector<MidiInputStatus> seen;
        RtMidiOut out(RtMidi::UNIX_JACK, unique("lost"));
        out.openVirtualPort("keys");
        ASSERT_NE(waitUntilConnected(out, input), 0);

        jack.stop();
        const auto gone = waitForStatus(
            input, [](const MidiInputStatus& s) { return isState(s, MidiInputState::Failed); },
            seen);
        ASSERT_TRUE(gone);
        EXPECT_EQ(describeMidiInputStatus(*gone),
                  "No MIDI keyboard: the MIDI system failed (the JACK server stopped; start the "
                  "program again to use it)");
        std::this_thread::sleep_for(1s); // several polls: said once
        EXPECT_FALSE(input.takeStatusChange());
        // Destroying the input now, with the server gone, must not crash.
    }
    ::setenv("JACK_DEFAULT_SERVER", restore.c_str(), 1);
}

} // namespace
} // namespace tessimo
