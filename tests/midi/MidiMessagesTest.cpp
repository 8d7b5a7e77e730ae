// Parsing of MIDI messages into key events, the names and status line the user sees, and the
// hand-over ring between a MIDI thread and the user-interface thread.
#include "midi/MidiEvent.h"
#include "midi/MidiEventRing.h"
#include "midi/MidiInputStatus.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace tessimo {
namespace {

std::optional<MidiKeyEvent> parse(std::vector<std::uint8_t> bytes) {
    return keyEventFromMessage(bytes.data(), bytes.size(), 42);
}

TEST(MidiMessages, NoteOnAndNoteOffBecomeKeyEvents) {
    EXPECT_EQ(parse({0x90, 60, 100}), (MidiKeyEvent{KeyAction::Press, 60, 100, 0, 42}));
    EXPECT_EQ(parse({0x9F, 127, 1}), (MidiKeyEvent{KeyAction::Press, 127, 1, 15, 42}));
    EXPECT_EQ(parse({0x83, 21, 64}), (MidiKeyEvent{KeyAction::Release, 21, 64, 3, 42}));
    // Note-on with velocity 0 is how most keyboards release a key.
    EXPECT_EQ(parse({0x90, 60, 0}), (MidiKeyEvent{KeyAction::Release, 60, 0, 0, 42}));
}

TEST(MidiMessages, EverythingElseIsIgnored) {
    EXPECT_EQ(parse({0xB0, 64, 127}), std::nullopt); // sustain pedal
    EXPECT_EQ(parse({0xE0, 0, 64}), std::nullopt);   // pitch bend
    EXPECT_EQ(parse({0xF8}), std::nullopt);          // clock
    EXPECT_EQ(parse({0x90, 60}), std::nullopt);      // truncated
    EXPECT_EQ(parse({}), std::nullopt);
    EXPECT_EQ(parse({0x90, 0x80, 100}), std::nullopt); // a status byte where data belongs
    EXPECT_EQ(parse({0x90, 60, 0xF0}), std::nullopt);
    EXPECT_EQ(keyEventFromMessage(nullptr, 3, 0), std::nullopt);
}

TEST(MidiStatusText, SaysWhichKeyboardIsConnectedOrWhyNone) {
    MidiInputStatus status;
    status.state = MidiInputState::NoSequencer;
    EXPECT_EQ(describeMidiInputStatus(status),
              "No MIDI keyboard: there is no MIDI sequencer on this machine");
    status.state = MidiInputState::NoDevice;
    EXPECT_EQ(describeMidiInputStatus(status), "No MIDI keyboard connected");
    status.state = MidiInputState::Connected;
    status.devices = {"nanoKEY2 MIDI 1"};
    EXPECT_EQ(describeMidiInputStatus(status), "Keyboard: nanoKEY2 MIDI 1 connected");
    status.devices.push_back("system:midi_capture_1");
    EXPECT_EQ(describeMidiInputStatus(status),
              "Keyboards: nanoKEY2 MIDI 1, system:midi_capture_1 connected");
    status.state = MidiInputState::Failed;
    status.detail = "cannot open the port";
    EXPECT_EQ(describeMidiInputStatus(status),
              "No MIDI keyboard: the MIDI system failed (cannot open the port)");
}

TEST(MidiStatusText, PortNamesReadAsTheUserKnowsThem) {
    EXPECT_EQ(displayNameOfPort("nanoKEY2:nanoKEY2 MIDI 1 20:0"), "nanoKEY2 MIDI 1");
    EXPECT_EQ(displayNameOfPort("USB Keystation:Port A 24:1"), "USB Keystation:Port A");
    EXPECT_EQ(displayNameOfPort("kbd:keys"), "kbd:keys");           // JACK
    EXPECT_EQ(displayNameOfPort("Piano 88 v2"), "Piano 88 v2");     // no address to strip
    EXPECT_EQ(displayNameOfPort("Synth:Out 2:x"), "Synth:Out 2:x"); // not an address
    EXPECT_EQ(displayNameOfPort(""), "");
}

TEST(MidiStatusText, OwnPortsAndTheLoopbackAreNoKeyboards) {
    EXPECT_TRUE(isIgnoredSource("Tessimo keys:in", "Tessimo"));
    EXPECT_TRUE(isIgnoredSource("Midi Through:Midi Through Port-0 14:0", "Tessimo"));
    EXPECT_FALSE(isIgnoredSource("nanoKEY2:nanoKEY2 MIDI 1 20:0", "Tessimo"));
    EXPECT_FALSE(isIgnoredSource("Tess", "Tessimo"));
}

// One thread pushes a long numbered run through a ring while another drains it: every event
// arrives once, intact and in order, and a full ring drops and counts instead of overwriting.
TEST(MidiEventRingThreads, EventsCrossThreadsIntactAndInOrder) {
    auto ring = std::make_unique<MidiEventRing>();
    constexpr int Count = 200000;
    std::thread producer([&] {
        for (int i = 0; i < Count; ++i) {
            const MidiKeyEvent event{i % 2 == 0 ? KeyAction::Press : KeyAction::Release,
                                     static_cast<std::uint8_t>(i % 128),
                                     static_cast<std::uint8_t>(i % 127 + 1),
                                     static_cast<std::uint8_t>(i % 16), i};
            while (!ring->push(event)) {
                std::this_thread::yield();
            }
        }
    });
    std::int64_t next = 0;
    bool intact = true;
    while (next < Count) {
        ring->drain([&](const MidiKeyEvent& e) {
            intact = intact && e.timeNs == next && e.key == next % 128 &&
                     e.velocity == next % 127 + 1 && e.channel == next % 16;
            ++next;
        });
    }
    producer.join();
    EXPECT_TRUE(intact);
    EXPECT_EQ(next, Count);
}

TEST(MidiEventRing, AFullRingDropsAndCounts) {
    auto ring = std::make_unique<MidiEventRing>();
    for (std::size_t i = 0; i < MidiEventRing::Capacity; ++i) {
        ASSERT_TRUE(ring->push({KeyAction::Press, 1, 1, 0, static_cast<std::int64_t>(i)}));
    }
    EXPECT_FALSE(ring->push({KeyAction::Press, 2, 1, 0, -1}));
    EXPECT_EQ(ring->dropped(), 1u);
    std::int64_t last = -2;
    std::size_t seen = 0;
    ring->drain([&](const MidiKeyEvent& e) {
        last = e.timeNs;
        ++seen;
    });
    EXPECT_EQ(seen, MidiEventRing::Capacity);
    EXPECT_EQ(last, static_cast<std::int64_t>(MidiEventRing::Capacity - 1)); // not overwritten
}

} // namespace
} // namespace tessimo
