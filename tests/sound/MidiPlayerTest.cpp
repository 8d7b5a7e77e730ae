#include "sound/MidiPlayer.h"
#include "RecordingMidiPort.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

using namespace tessimo;
using tessimo::test::RecordingMidiPort;
using ::testing::ElementsAre;

namespace {

struct MidiPlayerTest : ::testing::Test {
    RecordingMidiPort port;
    MidiPlayer player{port};

    int play(int program, std::uint8_t key, bool sustain, std::uint8_t length = 0) {
        return player.MidiPlay(program, &key, &length, 1, ExerciseVelocity, sustain);
    }
};

TEST_F(MidiPlayerTest, FirstCallSendsTheProgramChangeThenTheKeyWithoutItsLength) {
    EXPECT_EQ(play(40, 60, false, 200), 0);
    // 0x64 = velocity 100; nothing is held yet, so nothing is released; the high byte stays 0.
    EXPECT_THAT(port.calls, ElementsAre("open", "000028C0", "00643C90"));
}

TEST_F(MidiPlayerTest, WithSustainNothingIsReleased) {
    EXPECT_EQ(play(0, 60, true), 0);
    EXPECT_EQ(play(0, 62, true), 0);
    EXPECT_THAT(port.calls, ElementsAre("open", "000000C0", "00643C90", "00643E90"));
}

TEST_F(MidiPlayerTest, ProgramChangeOnlyWhenTheInstrumentChanges) {
    play(0, 60, false);
    port.calls.clear();
    play(0, 62, false);
    EXPECT_THAT(port.calls, ElementsAre("00003C90", "00643E90"));
    port.calls.clear();
    play(73, 64, false);
    EXPECT_THAT(port.calls, ElementsAre("000049C0", "00003E90", "00644090"));
    EXPECT_EQ(player.currentProgram(), 73);
}

TEST_F(MidiPlayerTest, WithoutSustainEveryKeyOfTheChordBeforeIsReleased) {
    const std::array<std::uint8_t, 3> chord = {64, 60, 67};
    const std::array<std::uint8_t, 3> lengths = {8, 8, 8};
    EXPECT_EQ(player.MidiPlay(0, chord.data(), lengths.data(), 3, 90, false), 0);
    EXPECT_THAT(port.calls, ElementsAre("open", "000000C0", "005A4090", "005A3C90", "005A4390"));
    port.calls.clear();
    play(0, 72, false);
    EXPECT_THAT(port.calls, ElementsAre("00003C90", "00004090", "00004390", "00644890"));
    port.calls.clear();
    play(0, 74, false); // the chord's keys went with it: only the last key is left
    EXPECT_THAT(port.calls, ElementsAre("00004890", "00644A90"));
}

TEST_F(MidiPlayerTest, SustainedCallsPileUpUntilOneWithoutSustain) {
    play(19, 48, true);
    play(19, 52, true);
    play(19, 52, true); // struck again: still one key to release
    port.calls.clear();
    play(19, 55, false);
    EXPECT_THAT(port.calls, ElementsAre("00003090", "00003490", "00643790"));
}

TEST_F(MidiPlayerTest, StopBeforeAnyInstrumentOnlyResets) {
    EXPECT_EQ(player.MidiStop(), 0);
    EXPECT_THAT(port.calls, ElementsAre("open", "reset"));
    EXPECT_EQ(player.currentProgram(), -1);
}

TEST_F(MidiPlayerTest, StopReleasesTheHeldKeysResetsAndKeepsTheProgram) {
    play(19, 50, true);
    port.calls.clear();
    EXPECT_EQ(player.MidiStop(), 0);
    EXPECT_THAT(port.calls, ElementsAre("00003290", "reset"));
    port.calls.clear();
    play(19, 52, true);
    EXPECT_THAT(port.calls, ElementsAre("00643490")); // no second program change
}

TEST_F(MidiPlayerTest, SilenceAllResetsAndLeavesNothingHeld) {
    EXPECT_EQ(player.silenceAll(), 0); // never opened: nothing to tell
    EXPECT_TRUE(port.calls.empty());
    const std::array<std::uint8_t, 2> keys = {43, 59};
    player.MidiPlay(32, keys.data(), nullptr, 2, ExerciseVelocity, true);
    port.calls.clear();
    EXPECT_EQ(player.silenceAll(), 0);
    EXPECT_THAT(port.calls, ElementsAre("reset"));
    EXPECT_TRUE(player.heldKeys().none());
    port.calls.clear();
    play(32, 60, false);
    EXPECT_THAT(port.calls, ElementsAre("00643C90")); // the same program, nothing to release
}

TEST_F(MidiPlayerTest, RefusedSilenceKeepsTheKeysForTheNextRelease) {
    play(48, 55, true);
    port.resetFails = true;
    EXPECT_EQ(player.silenceAll(), 1);
    port.calls.clear();
    play(48, 57, false);
    EXPECT_THAT(port.calls, ElementsAre("00003790", "00643990"));
}

TEST_F(MidiPlayerTest, FailedOpenPlaysNothingAndIsRetriedOnTheNextCall) {
    port.opensToFail = 2;
    EXPECT_EQ(play(0, 60, false), 1);
    EXPECT_EQ(player.MidiStop(), 1);
    EXPECT_EQ(play(0, 62, false), 0);
    EXPECT_THAT(port.calls,
                ElementsAre("open failed", "open failed", "open", "000000C0", "00643E90"));
    port.calls.clear();
    play(0, 64, false);
    EXPECT_EQ(port.calls.front(), "00003E90"); // opened once only
}

TEST_F(MidiPlayerTest, FailedProgramChangeEndsTheCallAndIsSentAgainNextTime) {
    port.sendFails = [](PackedMidiMessage m) { return (m & 0xF0) == 0xC0; };
    EXPECT_EQ(play(5, 60, false), 1);
    EXPECT_THAT(port.calls, ElementsAre("open", "000005C0"));
    EXPECT_EQ(player.currentProgram(), -1);

    port.sendFails = [](PackedMidiMessage) { return false; };
    port.calls.clear();
    EXPECT_EQ(play(5, 60, false), 0);
    EXPECT_THAT(port.calls, ElementsAre("000005C0", "00643C90"));
}

TEST_F(MidiPlayerTest, FailedReleaseEndsTheCallBeforeAnyNoteOnAndIsTriedAgain) {
    const std::array<std::uint8_t, 2> keys = {60, 64};
    player.MidiPlay(5, keys.data(), nullptr, 2, ExerciseVelocity, true);
    port.sendFails = [](PackedMidiMessage m) { return m == 0x00003C90; };
    port.calls.clear();
    EXPECT_EQ(play(5, 62, false), 1);
    EXPECT_THAT(port.calls, ElementsAre("00003C90", "00004090"));
    port.sendFails = [](PackedMidiMessage) { return false; };
    port.calls.clear();
    EXPECT_EQ(play(5, 62, false), 0);
    EXPECT_THAT(port.calls, ElementsAre("00003C90", "00643E90")); // 64 went the first time
}

TEST_F(MidiPlayerTest, FailedNoteOnsAndResetAreNotReported) {
    play(0, 60, true);
    port.sendFails = [](PackedMidiMessage m) { return ((m >> 16) & 0xFF) != 0; };
    port.resetFails = true;
    EXPECT_EQ(play(0, 67, false), 0);
    EXPECT_EQ(player.MidiStop(), 0);
    // The refused note-on is still released by the stop.
    EXPECT_THAT(port.calls, ElementsAre("open", "000000C0", "00643C90", "00003C90", "00644390",
                                        "00004390", "reset"));
}

TEST_F(MidiPlayerTest, NoKeysStillReleasesTheHeldOnes) {
    play(0, 60, true);
    port.calls.clear();
    EXPECT_EQ(player.MidiPlay(0, nullptr, nullptr, 0, ExerciseVelocity, false), 0);
    EXPECT_THAT(port.calls, ElementsAre("00003C90"));
    EXPECT_TRUE(player.heldKeys().none());
}

} // namespace

// A player's keys sound with their own velocity, overlap freely, are released one by one, and
// a MidiPlay without sustain or a stop still takes any key left down.
TEST_F(MidiPlayerTest, KeysOfAPlayerKeepTheirVelocityAndAreReleasedOneByOne) {
    EXPECT_EQ(player.keyDown(0, 60, 37), 0);
    EXPECT_EQ(player.keyDown(0, 64, 120), 0);
    EXPECT_THAT(port.calls, ElementsAre("open", "000000C0", "00253C90", "00784090"));
    port.calls.clear();
    EXPECT_EQ(player.keyUp(60), 0);
    EXPECT_EQ(player.keyUp(60), 0); // released already: nothing sent
    EXPECT_EQ(player.keyUp(99), 0); // never pressed
    EXPECT_THAT(port.calls, ElementsAre("00003C90"));
    EXPECT_EQ(player.heldKeys().count(), 1u);

    port.calls.clear();
    EXPECT_EQ(player.keyDown(19, 67, 90), 0); // another instrument: its program first
    play(19, 72, false);
    EXPECT_THAT(port.calls,
                ElementsAre("000013C0", "005A4390", "00004090", "00004390", "00644890"));

    EXPECT_EQ(player.keyDown(19, 128, 90), 1); // no such key
    EXPECT_EQ(player.keyDown(19, 60, 0), 1);   // a press has a velocity
    port.sendFails = [](PackedMidiMessage m) { return (m & 0xFF0000) == 0; };
    EXPECT_EQ(player.keyUp(72), 1); // refused: still held, tried again next time
    port.sendFails = [](PackedMidiMessage) { return false; };
    port.calls.clear();
    EXPECT_EQ(player.keyUp(72), 0);
    EXPECT_THAT(port.calls, ElementsAre("00004890"));
}
