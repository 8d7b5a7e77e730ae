// Shows what the program's MIDI input sees: the status line whenever it changes, and every key
// pressed and released (or, with --chords, the answers the keys pressed together make). For
// checking a keyboard without the window. Stops after the given seconds, or with Ctrl-C.
//
//   tessimo_keys [--chords] [seconds]

#include "midi/KeyGrouper.h"
#include "midi/MidiInput.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

using namespace tessimo;

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
    interrupted = 1;
}

// "C4" for 60, "F#2" for 42: the letter names with the octave, middle C in octave 4.
std::string keyName(int key) {
    static constexpr std::array<const char*, 12> Names = {"C",  "C#", "D",  "D#", "E",  "F",
                                                          "F#", "G",  "G#", "A",  "A#", "B"};
    return std::string(Names[static_cast<std::size_t>(key % 12)]) + std::to_string(key / 12 - 1);
}

} // namespace

int main(int argc, char** argv) {
    bool chords = false;
    long seconds = 0;
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        if (std::strcmp(argv[i], "--chords") == 0) {
            chords = true;
        } else if (seconds = std::strtol(argv[i], &end, 10);
                   end == argv[i] || *end != '\0' || seconds < 0) {
            std::fprintf(stderr, "usage: %s [--chords] [seconds]\n", argv[0]);
            return 2;
        }
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);

    MidiInput input;
    KeyGrouper grouper(chords ? AnswerShape::KeyGroup : AnswerShape::SingleKey);
    const auto start = std::chrono::steady_clock::now();
    const auto print = [](const KeyAnswer& answer) {
        std::string keys;
        for (std::uint8_t key : answer.keys) {
            keys += (keys.empty() ? "" : " ") + keyName(key) + " (" + std::to_string(key) + ")";
        }
        std::printf("answer: %s\n", keys.c_str());
    };
    while (interrupted == 0 && (seconds == 0 || std::chrono::steady_clock::now() - start <
                                                    std::chrono::seconds(seconds))) {
        if (const auto status = input.takeStatusChange()) {
            std::printf("%s%s%s\n", describeMidiInputStatus(*status).c_str(),
                        status->inputPort.empty() ? "" : "; programs can connect to ",
                        status->inputPort.c_str());
            grouper.releaseAll(); // a keyboard may have gone with keys down
        }
        for (const MidiKeyEvent& event : input.drain()) {
            if (!chords) {
                std::printf("%s %s (%d), velocity %d, channel %d\n",
                            event.action == KeyAction::Press ? "press  " : "release",
                            keyName(event.key).c_str(), event.key, event.velocity,
                            event.channel + 1);
            }
            if (const auto answer = grouper.feed(event, event.timeNs / 1000000); answer && chords) {
                print(*answer);
            }
        }
        if (const auto answer = grouper.poll(MidiInput::nowNs() / 1000000); answer && chords) {
            print(*answer);
        }
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 0;
}
