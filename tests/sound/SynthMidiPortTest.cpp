#include "sound/SynthMidiPort.h"
#include "RecordingMidiPort.h"
#include "sound/ChannelMessageRing.h"
#include "sound/MidiPlayer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessimo;

namespace {

std::vector<SynthRequest> drained(ChannelMessageRing& ring) {
    std::vector<SynthRequest> out;
    ring.drain([&](const SynthRequest& r) { out.push_back(r); });
    return out;
}

TEST(SynthMidiPort, TurnsWhatTheSynthesiserPlaysIntoRequests) {
    EXPECT_EQ(synthRequestFor(packMidiMessage(0x90, 60, 100)), SynthRequest::noteOn(0, 60, 100));
    EXPECT_EQ(synthRequestFor(packMidiMessage(0x9F, 127, 0)), SynthRequest::noteOn(15, 127, 0));
    EXPECT_EQ(synthRequestFor(packMidiMessage(0x80, 60, 64)), SynthRequest::noteOff(0, 60));
    EXPECT_EQ(synthRequestFor(packMidiMessage(0xC3, 127)), SynthRequest::programChange(3, 127));
    EXPECT_EQ(synthRequestFor(packMidiMessage(0xC0, 128)), std::nullopt);
    EXPECT_EQ(synthRequestFor(packMidiMessage(0x90, 128, 100)), std::nullopt);
    EXPECT_EQ(synthRequestFor(packMidiMessage(0x90, 60, 200)), std::nullopt);
    EXPECT_EQ(synthRequestFor(packMidiMessage(0xB0, 7, 100)), std::nullopt); // controllers
    EXPECT_EQ(synthRequestFor(0xFF), std::nullopt);                          // system reset
}

TEST(SynthMidiPort, OpensOnlyOnceTheSynthesiserRuns) {
    ChannelMessageRing ring;
    SynthMidiPort port(ring);
    MidiPlayer player(port);
    const std::uint8_t key = 60, length = 0;
    EXPECT_EQ(player.MidiPlay(0, &key, &length, 1, ExerciseVelocity, true), 1);
    EXPECT_TRUE(drained(ring).empty()); // dropped, not queued for later
    port.markReady();
    EXPECT_EQ(player.MidiPlay(0, &key, &length, 1, ExerciseVelocity, true), 0);
    EXPECT_EQ(drained(ring), (std::vector<SynthRequest>{SynthRequest::programChange(0, 0),
                                                        SynthRequest::noteOn(0, 60, 100)}));
}

TEST(SynthMidiPort, ProgramOutsideGeneralMidiFailsAndIsNotQueued) {
    ChannelMessageRing ring;
    SynthMidiPort port(ring);
    port.markReady();
    MidiPlayer player(port);
    const std::uint8_t key = 60, length = 0;
    EXPECT_EQ(player.MidiPlay(128, &key, &length, 1, ExerciseVelocity, false), 1);
    EXPECT_EQ(player.MidiPlay(-5, &key, &length, 1, ExerciseVelocity, false), 1);
    EXPECT_EQ(player.currentProgram(), -1);
    EXPECT_TRUE(drained(ring).empty());
}

TEST(SynthMidiPort, FullRingFailsTheSendAndResetQueuesItsMarker) {
    ChannelMessageRing ring;
    SynthMidiPort port(ring);
    for (std::size_t i = 0; i < ChannelMessageRing::Capacity; ++i)
        ASSERT_TRUE(port.send(packMidiMessage(0x90, 60, 0)));
    EXPECT_FALSE(port.send(packMidiMessage(0x90, 61, 0)));
    EXPECT_FALSE(port.reset());
    EXPECT_EQ(drained(ring).size(), ChannelMessageRing::Capacity);
    EXPECT_TRUE(port.reset());
    EXPECT_EQ(drained(ring), std::vector<SynthRequest>{SynthRequest::silenceAll()});
}

} // namespace
