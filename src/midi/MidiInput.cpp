#include "midi/MidiInput.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <set>
#include <utility>

namespace tessimo {

namespace {

void ignoreJackMessage(const char*) {}

// Asks for a JACK server without starting one: a client that cannot connect returns at once.
// libjack's own error printing is silenced (it would report the missing server on stderr).
bool jackServerRuns(const std::string& clientName) {
    jack_set_error_function(ignoreJackMessage);
    jack_set_info_function(ignoreJackMessage);
    jack_status_t status{};
    jack_client_t* client =
        jack_client_open((clientName + " probe").c_str(), JackNoStartServer, &status);
    if (client == nullptr) {
        return false;
    }
    jack_client_close(client);
    return true;
}

// A JACK client of our own that only watches for the server going away.
struct JackClientClose {
    void operator()(jack_client_t* client) const { jack_client_close(client); }
};
using JackClient = std::unique_ptr<jack_client_t, JackClientClose>;

void onJackShutdown(void* flag) {
    static_cast<std::atomic<bool>*>(flag)->store(true);
}

bool alsaSequencerPresent() {
    return ::access("/dev/snd/seq", R_OK | W_OK) == 0;
}

// Runs on a MIDI system thread for every message of one source: parses and pushes, nothing
// else (no lock, no allocation).
void onMessage(double, std::vector<unsigned char>* message, void* userData) {
    if (message == nullptr || userData == nullptr) {
        return;
    }
    const auto event = keyEventFromMessage(message->data(), message->size(), MidiInput::nowNs());
    if (event) {
        static_cast<MidiEventRing*>(userData)->push(*event);
    }
}

// Errors of RtMidi become text instead of exceptions or lines on stderr; warnings (a stale
// port number, an empty list) carry no news and are dropped.
void onRtMidiError(RtMidiError::Type type, const std::string& text, void* userData) {
    if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) {
        return;
    }
    auto* lastError = static_cast<std::string*>(userData);
    if (lastError->empty()) {
        *lastError = text;
    }
}

} // namespace

struct MidiInput::Worker {
    struct Connection {
        std::string port;
        std::unique_ptr<RtMidiIn> in;
        std::size_t slot = 0;
    };

    MidiInput& owner;
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    std::string backendName;
    std::string lastError; // the first RtMidi error since the last attempt
    std::unique_ptr<RtMidiIn> scanner;
    std::unique_ptr<RtMidiIn> ownPort;
    std::vector<Connection> connections;
    std::set<std::string> refused; // sources that failed to open: retried once they reappear
    std::array<bool, MaxSources> slotUsed{};
    std::string failure;
    // Ports whose JACK server went away. RtMidi closes a JACK port by unregistering it through
    // its client, which crashes once the server is gone, so these are never destroyed: a few
    // hundred bytes each time a server stops under the running program.
    std::vector<RtMidiIn*> abandoned;
    bool jackStopped = false; // the JACK server went away while in use
    JackClient jackWatch;     // with JACK: tells when its server shuts down
    std::atomic<bool> jackGone{false};

    explicit Worker(MidiInput& o) : owner(o) {}

    // Runs step, turning whatever RtMidi reports (exception or error callback) into why.
    template <typename Step> bool attempt(Step&& step, std::string& why) {
        lastError.clear();
        try {
            step();
        } catch (const RtMidiError& error) {
            why = error.getMessage();
            return false;
        } catch (const std::exception& error) {
            why = error.what();
            return false;
        }
        if (!lastError.empty()) {
            why = lastError;
            return false;
        }
        return true;
    }

    std::unique_ptr<RtMidiIn> makeIn(const std::string& name) {
        auto in = std::make_unique<RtMidiIn>(api, name);
        in->setErrorCallback(onRtMidiError, &lastError);
        return in;
    }

    // Chooses the MIDI system; false when there is none. The ALSA sequencer comes first: every
    // keyboard the kernel knows is there, whether or not a sound server runs, and several
    // programs can read one keyboard at once. A JACK server shows hardware MIDI only through a
    // bridge, so it is taken where there is no sequencer (sandboxes, containers, machines
    // without the sequencer module) or when asked for.
    bool chooseBackend() {
        const MidiBackendChoice choice = owner.options_.backend;
        if (choice != MidiBackendChoice::Jack && alsaSequencerPresent()) {
            api = RtMidi::LINUX_ALSA;
            backendName = "ALSA sequencer";
            return true;
        }
        if (choice != MidiBackendChoice::AlsaSequencer &&
            jackServerRuns(owner.options_.clientName)) {
            api = RtMidi::UNIX_JACK;
            backendName = "JACK";
            return true;
        }
        return false;
    }

    // Opens the scanner and the program's own input port; false (with failure) when the
    // MIDI system refuses.
    bool open() {
        failure.clear();
        const std::string& client = owner.options_.clientName;
        const bool opened = attempt(
            [&] {
                scanner = makeIn(client + " scan");
                ownPort = makeIn(client);
                ownPort->setCallback(onMessage, &(*owner.rings_)[0]);
                ownPort->openVirtualPort("in");
            },
            failure);
        if (opened && api == RtMidi::UNIX_JACK) {
            jackGone = false;
            jackWatch.reset(
                jack_client_open((client + " watch").c_str(), JackNoStartServer, nullptr));
            if (jackWatch) {
                jack_on_shutdown(jackWatch.get(), onJackShutdown, &jackGone);
                jack_activate(jackWatch.get());
            }
        }
        slotUsed[0] = opened;
        if (!opened) {
            closeAll();
        }
        return opened;
    }

    void closeAll() {
        connections.clear();
        refused.clear();
        ownPort.reset();
        scanner.reset();
        jackWatch.reset();
        slotUsed.fill(false);
    }

    // Lets go of every port without closing it (see abandoned) and forgets the sources.
    void abandonAll() {
        for (Connection& connection : connections) {
            abandoned.push_back(connection.in.release());
        }
        abandoned.push_back(ownPort.release());
        abandoned.push_back(scanner.release());
        (void)jackWatch.release(); // its server is gone too
        closeAll();
    }

    // Closes everything at the end; ports of a JACK server that has gone are let go instead.
    void finish(bool ready) {
        if (ready && api == RtMidi::UNIX_JACK &&
            (jackGone || !jackServerRuns(owner.options_.clientName))) {
            abandonAll();
        } else {
            closeAll();
        }
    }

    std::vector<std::string> listSources() {
        std::vector<std::string> names;
        std::string why;
        attempt(
            [&] {
                const unsigned count = scanner->getPortCount();
                for (unsigned i = 0; i < count; ++i) {
                    names.push_back(scanner->getPortName(i));
                }
            },
            why);
        return names;
    }

    void connect(const std::string& port) {
        const auto freeSlot = std::find(slotUsed.begin() + 1, slotUsed.end(), false);
        if (freeSlot == slotUsed.end()) {
            return; // at the limit; connected once another source goes
        }
        const auto slot = static_cast<std::size_t>(freeSlot - slotUsed.begin());
        Connection connection{port, nullptr, slot};
        std::string why;
        const bool opened = attempt(
            [&] {
                connection.in = makeIn(owner.options_.clientName + " keys");
                connection.in->setCallback(onMessage, &(*owner.rings_)[slot]);
                // The index of a port may have moved since the list was read: look it up by name
                // in this client's own list.
                const unsigned count = connection.in->getPortCount();
                for (unsigned i = 0; i < count; ++i) {
                    if (connection.in->getPortName(i) == port) {
                        connection.in->openPort(i, "in");
                        return;
                    }
                }
            },
            why);
        if (!opened) {
            refused.insert(port); // the source refuses us: try again only after it reappears
            return;
        }
        if (!connection.in->isPortOpen()) {
            return; // gone between the two lists
        }
        slotUsed[slot] = true;
        connections.push_back(std::move(connection));
    }

    // Connects new sources and forgets vanished ones.
    void reconcile(const std::vector<std::string>& names) {
        const auto listed = [&](const std::string& port) {
            return std::find(names.begin(), names.end(), port) != names.end();
        };
        std::erase_if(connections, [&](Connection& connection) {
            if (listed(connection.port)) {
                return false;
            }
            slotUsed[connection.slot] = false;
            return true; // destroying the RtMidiIn closes its port and stops its thread
        });
        std::erase_if(refused, [&](const std::string& port) { return !listed(port); });
        if (!owner.options_.connectSources) {
            return;
        }
        for (const std::string& port : names) {
            const bool known = std::any_of(connections.begin(), connections.end(),
                                           [&](const Connection& c) { return c.port == port; });
            if (!known && refused.count(port) == 0 &&
                !isIgnoredSource(port, owner.options_.clientName)) {
                connect(port);
            }
        }
    }

    MidiInputStatus status(bool ready) const {
        MidiInputStatus s;
        if (!ready) {
            s.state = failure.empty() ? MidiInputState::NoSequencer : MidiInputState::Failed;
            s.backend = failure.empty() ? "" : backendName;
            s.detail = failure;
            return s;
        }
        s.backend = backendName;
        s.inputPort = owner.options_.clientName + ":in";
        for (const Connection& connection : connections) {
            s.devices.push_back(displayNameOfPort(connection.port));
        }
        s.state = s.devices.empty() ? MidiInputState::NoDevice : MidiInputState::Connected;
        return s;
    }
};

MidiInput::MidiInput(MidiInputOptions options)
    : options_(std::move(options)),
      rings_(std::make_unique<std::array<MidiEventRing, MaxSources>>()) {
    drained_.reserve(MidiEventRing::Capacity);
    worker_ = std::thread([this] { run(); });
}

MidiInput::~MidiInput() {
    {
        std::lock_guard lock(statusMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

std::int64_t MidiInput::nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::span<const MidiKeyEvent> MidiInput::drain() {
    drained_.clear();
    bool severalSources = false;
    std::size_t sourcesWithEvents = 0;
    for (MidiEventRing& ring : *rings_) {
        const std::size_t before = drained_.size();
        ring.drain([&](const MidiKeyEvent& event) { drained_.push_back(event); });
        if (drained_.size() != before && ++sourcesWithEvents > 1) {
            severalSources = true;
        }
    }
    if (severalSources) {
        std::stable_sort(
            drained_.begin(), drained_.end(),
            [](const MidiKeyEvent& a, const MidiKeyEvent& b) { return a.timeNs < b.timeNs; });
    }
    return drained_;
}

std::optional<MidiInputStatus> MidiInput::takeStatusChange() {
    std::lock_guard lock(statusMutex_);
    if (publishedGeneration_ == takenGeneration_) {
        return std::nullopt;
    }
    takenGeneration_ = publishedGeneration_;
    return published_;
}

std::uint64_t MidiInput::droppedEvents() const {
    std::uint64_t dropped = 0;
    for (const MidiEventRing& ring : *rings_) {
        dropped += ring.dropped();
    }
    return dropped;
}

void MidiInput::publish(const MidiInputStatus& status) {
    std::lock_guard lock(statusMutex_);
    if (publishedGeneration_ != 0 && status == published_) {
        return;
    }
    published_ = status;
    ++publishedGeneration_;
}

void MidiInput::run() {
    Worker worker(*this);
    bool ready = false;
    for (;;) {
        if (!ready && !worker.jackStopped && worker.chooseBackend()) {
            ready = worker.open();
        }
        if (ready) {
            const std::vector<std::string> names = worker.listSources();
            if (worker.api == RtMidi::UNIX_JACK &&
                (worker.jackGone || (names.empty() && !jackServerRuns(options_.clientName)))) {
                // libjack keeps the state of the vanished server for the clients let go, and
                // clients on a new server may then crash on closing: JACK is not used again.
                worker.abandonAll();
                worker.jackStopped = true;
                worker.failure = "the JACK server stopped; start the program again to use it";
                ready = false;
            } else {
                worker.reconcile(names);
            }
        }
        publish(worker.status(ready));

        std::unique_lock lock(statusMutex_);
        if (wake_.wait_for(lock, options_.pollInterval, [this] { return stop_; })) {
            break;
        }
    }
    worker.finish(ready);
}

} // namespace tessimo
