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

TEST_F(MidiPlayerTest, FirstCallWithoutSustainCutsKeyZeroAfterTheProgramChange) {
    EXPECT_EQ(play(40, 60, false, 16), 0);
    // 0x64 = velocity 100; the length rides in the fourth byte.
    EXPECT_THAT(port.calls, ElementsAre("open", "000028C0", "00000090", "10643C90"));
}

TEST_F(MidiPlayerTest, WithSustainNothingIsCutOff) {
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

TEST_F(MidiPlayerTest, ChordIsCutOffOnlyAtItsLastKey) {
    const std::array<std::uint8_t, 3> chord = {60, 64, 67};
    const std::array<std::uint8_t, 3> lengths = {8, 8, 8};
    EXPECT_EQ(player.MidiPlay(0, chord.data(), lengths.data(), 3, 90, true), 0);
    EXPECT_THAT(port.calls, ElementsAre("open", "000000C0", "085A3C90", "085A4090", "085A4390"));
    port.calls.clear();
    play(0, 72, false);
    EXPECT_THAT(port.calls, ElementsAre("00004390", "00644890"));
}

TEST_F(MidiPlayerTest, StopBeforeAnyInstrumentOnlyResets) {
    EXPECT_EQ(player.MidiStop(), 0);
    EXPECT_THAT(port.calls, ElementsAre("open", "reset"));
    EXPECT_EQ(player.currentProgram(), -1);
}

TEST_F(MidiPlayerTest, StopCutsTheLastKeyResetsAndKeepsTheProgram) {
    play(19, 50, true);
    port.calls.clear();
    EXPECT_EQ(player.MidiStop(), 0);
    EXPECT_THAT(port.calls, ElementsAre("00003290", "reset"));
    port.calls.clear();
    play(19, 52, true);
    EXPECT_THAT(port.calls, ElementsAre("00643490")); // no second program change
}

TEST_F(MidiPlayerTest, FailedOpenPlaysNothingAndIsRetriedOnTheNextCall) {
    port.opensToFail = 2;
    EXPECT_EQ(play(0, 60, false), 1);
    EXPECT_EQ(player.MidiStop(), 1);
    EXPECT_EQ(play(0, 62, false), 0);
    EXPECT_THAT(port.calls, ElementsAre("open failed", "open failed", "open", "000000C0",
                                        "00000090", "00643E90"));
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
    EXPECT_THAT(port.calls, ElementsAre("000005C0", "00000090", "00643C90"));
}

TEST_F(MidiPlayerTest, FailedNoteOffEndsTheCallBeforeAnyNoteOn) {
    port.sendFails = [](PackedMidiMessage m) { return m == 0x00000090; };
    EXPECT_EQ(play(5, 60, false), 1);
    EXPECT_THAT(port.calls, ElementsAre("open", "000005C0", "00000090"));
    EXPECT_EQ(player.currentProgram(), 5); // the program change itself went out
}

TEST_F(MidiPlayerTest, FailedNoteOnsAndResetAreNotReported) {
    play(0, 60, true);
    port.sendFails = [](PackedMidiMessage m) { return ((m >> 16) & 0xFF) != 0; };
    port.resetFails = true;
    EXPECT_EQ(play(0, 67, false), 0);
    EXPECT_EQ(player.MidiStop(), 0);
    // The failed note-on still became the key that the stop cuts off.
    EXPECT_THAT(port.calls, ElementsAre("open", "000000C0", "00643C90", "00003C90", "00644390",
                                        "00004390", "reset"));
}

TEST_F(MidiPlayerTest, NoKeysStillCutsTheLastOne) {
    play(0, 60, true);
    port.calls.clear();
    EXPECT_EQ(player.MidiPlay(0, nullptr, nullptr, 0, ExerciseVelocity, false), 0);
    EXPECT_THAT(port.calls, ElementsAre("00003C90"));
}

} // namespace
