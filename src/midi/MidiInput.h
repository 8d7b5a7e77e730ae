// The MIDI keyboard input: every MIDI source connected at start and as it appears, the
// program's own input port that other programs can connect to, and the key events of all of
// them handed to the user-interface thread. No Qt.
//
// Threads: a worker thread of its own chooses the MIDI system, opens the ports and looks at
// the list of sources every PollInterval, connecting new ones and forgetting vanished ones.
// Key events arrive on the MIDI system's threads (one per connected source) and go, without
// lock or allocation, into a single-producer single-consumer ring per source; the
// user-interface thread drains them. Nothing here ever blocks the user-interface thread on
// the MIDI system: construction only starts the worker.
#pragma once

#include "midi/MidiEvent.h"
#include "midi/MidiEventRing.h"
#include "midi/MidiInputStatus.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace tessimo {

// Which MIDI system to use. Automatic takes the ALSA sequencer when the machine has one (it
// carries every keyboard the kernel knows), and otherwise a running JACK server (or a server
// that speaks its protocol).
enum class MidiBackendChoice { Automatic, Jack, AlsaSequencer };

struct MidiInputOptions {
    std::string clientName = "Tessimo"; // client name in the MIDI system; own port "<name>:in"
    MidiBackendChoice backend = MidiBackendChoice::Automatic;
    bool connectSources = true; // connect every source automatically (off: own port only)
    std::chrono::milliseconds pollInterval{500}; // how often the source list is looked at
};

class MidiInput {
public:
    // Most sources connected at once, the program's own port included.
    static constexpr std::size_t MaxSources = 16;

    // Starts the worker and returns at once; the first status follows within a poll.
    // User-interface thread.
    explicit MidiInput(MidiInputOptions options = {});

    // Stops the worker, which closes every port. User-interface thread.
    ~MidiInput();

    MidiInput(const MidiInput&) = delete;
    MidiInput& operator=(const MidiInput&) = delete;

    // Every key event received since the last call, oldest first (events of different sources
    // merged by the time they arrived). The span stays valid until the next call.
    // User-interface thread only (the one consumer of the rings).
    std::span<const MidiKeyEvent> drain();

    // The status when it changed since the last call, else nothing; so each change is shown
    // once. User-interface thread.
    std::optional<MidiInputStatus> takeStatusChange();

    // Events lost because a ring was full. Any thread.
    std::uint64_t droppedEvents() const;

    // Now on the clock that stamps the events: the steady clock, in nanoseconds. Any thread.
    static std::int64_t nowNs();

    struct Worker; // the worker thread's state; defined in the source file

private:
    void publish(const MidiInputStatus& status); // worker thread
    void run();                                  // worker thread

    MidiInputOptions options_;
    std::unique_ptr<std::array<MidiEventRing, MaxSources>> rings_;
    std::vector<MidiKeyEvent> drained_; // user-interface thread

    std::mutex statusMutex_; // guards the three fields below and the stop flag
    MidiInputStatus published_;
    std::uint64_t publishedGeneration_ = 0;
    bool stop_ = false;
    std::condition_variable wake_;
    std::uint64_t takenGeneration_ = 0; // user-interface thread

    std::thread worker_;
};

} // namespace tessimo
