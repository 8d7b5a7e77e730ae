// What the synthesiser sounds like when played through MidiPlayer: rendered offline and
// measured, for every installed General MIDI SoundFont of interest.
#include "AudioAnalysis.h"
#include "OfflineSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

using namespace tessimo;
using namespace tessimo::test;

namespace {

constexpr int Piano = 0;
constexpr int ChurchOrgan = 19;
constexpr int ReedOrgan = 20;
constexpr int StringEnsemble = 48;
constexpr int Clarinet = 71;
constexpr int Flute = 73;

TEST(SynthSoundFont, IsInstalled) {
    ASSERT_FALSE(soundFontsUnderTest().empty()) << NoSoundFontReason;
}

TEST(SynthEngine, MissingSoundFontIsExplained) {
    ChannelMessageRing ring;
    std::string reason;
    EXPECT_EQ(SynthEngine::create(44100, "/nonexistent/gm.sf2", ring, reason), nullptr);
    EXPECT_EQ(reason, "The General MIDI SoundFont could not be loaded: /nonexistent/gm.sf2");
}

class SynthSound : public ::testing::TestWithParam<std::filesystem::path> {
protected:
    OfflineSynth synth{GetParam()};

    void SetUp() override { ASSERT_NE(synth.engine, nullptr) << synth.reason; }

    // A single key of program, rendered for seconds after the previous sound was stopped.
    std::vector<float> note(int program, std::uint8_t key, double seconds = 0.5) {
        synth.player.MidiStop();
        synth.play(program, {key}, false);
        return synth.render(seconds);
    }
};

TEST_P(SynthSound, IdleOutputIsExactlySilent) {
    EXPECT_EQ(peakAbs(synth.render(0.2)), 0.0);
}

TEST_P(SynthSound, PlayedKeySoundsAtItsPitch) {
    // Programs whose lowest partial is the key's pitch: the drawbar and church organs also
    // sound an octave or two below it, as the real stops do.
    for (int program : {Piano, ReedOrgan, Clarinet}) {
        for (std::uint8_t key : {36, 48, 57, 60, 69, 83}) {
            const auto sound = slice(note(program, key, 0.4), 0.1, 0.4);
            const double hz = estimatePitch(sound, OfflineSynth::Rate);
            ASSERT_GT(hz, 0) << "program " << program << " key " << int(key);
            EXPECT_NEAR(centsBetween(keyFrequency(key), hz), 0, 30)
                << "program " << program << " key " << int(key) << " measured " << hz << " Hz";
        }
    }
}

TEST_P(SynthSound, ChordSoundsItsFourPitches) {
    synth.play(Piano, {60, 64, 67, 70}, false);
    const auto sound = slice(synth.render(0.6), 0.1, 0.6);
    double weakest = 1;
    for (int key : {60, 64, 67, 70})
        weakest = std::min(weakest, peakNear(sound, OfflineSynth::Rate, keyFrequency(key)));
    // Keys that are not in the chord and none of its harmonics.
    for (int key : {62, 63, 66})
        EXPECT_LT(peakNear(sound, OfflineSynth::Rate, keyFrequency(key)), weakest / 5)
            << "key " << key;
    EXPECT_GT(weakest, 0.002);

    // One key of it alone has nothing at the others' pitches.
    const auto single = slice(note(Piano, 60, 0.6), 0.1, 0.6);
    EXPECT_LT(peakNear(single, OfflineSynth::Rate, keyFrequency(64)), weakest / 5);
}

// Level of middle C while F sharp sounds after it, with and without sustain.
double previousKeyLevel(OfflineSynth& synth, bool sustain) {
    synth.play(ChurchOrgan, {60}, false);
    synth.render(0.3);
    synth.play(ChurchOrgan, {66}, sustain);
    const auto after = slice(synth.render(0.8), 0.4, 0.8);
    EXPECT_GT(peakNear(after, OfflineSynth::Rate, keyFrequency(66)), 0.005);
    return peakNear(after, OfflineSynth::Rate, keyFrequency(60));
}

TEST_P(SynthSound, WithoutSustainTheNextKeyCutsThePreviousOne) {
    const double sustained = previousKeyLevel(synth, true);
    synth.player.MidiStop();
    const double cut = previousKeyLevel(synth, false);
    EXPECT_GT(sustained, 0.005);
    EXPECT_LT(cut, sustained / 10);
}

// Level in dB relative to full scale (-200 for exact silence).
double dbfs(double amplitude) {
    return amplitude > 0 ? 20 * std::log10(amplitude) : -200;
}

// The loudest any key of chord sounds in samples.
double loudestOf(const std::vector<float>& samples, std::initializer_list<int> chord) {
    double loudest = 0;
    for (int key : chord)
        loudest = std::max(loudest, peakNear(samples, OfflineSynth::Rate, keyFrequency(key)));
    return loudest;
}

TEST_P(SynthSound, WithoutSustainTheNextCallReleasesEveryKeyOfAChord) {
    // Instruments that sound for as long as their keys are held.
    for (int program : {ChurchOrgan, StringEnsemble}) {
        synth.player.MidiStop();
        synth.render(0.3);
        synth.play(program, {48, 55, 64}, false);
        const double held = loudestOf(slice(synth.render(0.5), 0.1, 0.5), {48, 55, 64});
        EXPECT_GT(dbfs(held), -40) << "program " << program;
        synth.play(program, {79}, false); // far from the chord and its low harmonics
        // The release of these programs is well under a second and a half.
        const auto after = slice(synth.render(2.0), 1.5, 2.0);
        EXPECT_GT(peakNear(after, OfflineSynth::Rate, keyFrequency(79)), 0.005);
        EXPECT_LT(dbfs(loudestOf(after, {48, 55, 64})), -60) << "program " << program;
    }
}

TEST_P(SynthSound, SilenceAllStopsALowOrganNoteThatWouldSoundOn) {
    // A low note as a melody plays it, then nothing more on its own; silenced, it is gone
    // within a few hundred milliseconds, left alone it sounds on.
    const auto lowNote = [this](bool silence) {
        synth.play(ChurchOrgan, {40}, false);
        synth.render(0.5);
        if (silence) {
            EXPECT_EQ(synth.player.silenceAll(), 0);
        }
        return dbfs(peakAbs(slice(synth.render(1.0), 0.3, 1.0)));
    };
    EXPECT_GT(lowNote(false), -40);
    EXPECT_LT(lowNote(true), -60);
}

TEST_P(SynthSound, StopSilencesWithin200Milliseconds) {
    synth.play(ChurchOrgan, {48, 60, 64, 67}, false);
    EXPECT_GT(peakAbs(synth.render(0.3)), 0.05);
    EXPECT_EQ(synth.player.MidiStop(), 0);
    synth.render(0.2);
    EXPECT_LT(peakAbs(synth.render(0.1)), 1e-4);
}

TEST_P(SynthSound, InstrumentChangeChangesTheTimbre) {
    const auto piano =
        harmonicProfile(slice(note(Piano, 60), 0.1, 0.5), OfflineSynth::Rate, keyFrequency(60));
    const auto organ = harmonicProfile(slice(note(ChurchOrgan, 60), 0.1, 0.5), OfflineSynth::Rate,
                                       keyFrequency(60));
    const auto organAgain = harmonicProfile(slice(note(ChurchOrgan, 60), 0.1, 0.5),
                                            OfflineSynth::Rate, keyFrequency(60));
    EXPECT_GT(profileDistance(piano, organ), 0.3);
    EXPECT_LT(profileDistance(organ, organAgain), profileDistance(piano, organ) / 3);
}

TEST_P(SynthSound, StopKeepsTheChosenInstrument) {
    const auto organ = harmonicProfile(slice(note(ChurchOrgan, 60), 0.1, 0.5), OfflineSynth::Rate,
                                       keyFrequency(60));
    OfflineSynth fresh(GetParam());
    fresh.play(Piano, {60}, false);
    const auto piano =
        harmonicProfile(slice(fresh.render(0.5), 0.1, 0.5), OfflineSynth::Rate, keyFrequency(60));

    synth.player.MidiStop();
    synth.render(0.1);
    synth.play(ChurchOrgan, {60}, false); // same program: no program change goes out
    const auto afterStop =
        harmonicProfile(slice(synth.render(0.5), 0.1, 0.5), OfflineSynth::Rate, keyFrequency(60));
    EXPECT_EQ(synth.engine->channelProgram(0), ChurchOrgan);
    EXPECT_LT(profileDistance(afterStop, organ), profileDistance(afterStop, piano) / 3);
}

TEST_P(SynthSound, MonoIsTheAverageOfStereo) {
    OfflineSynth stereoSynth(GetParam());
    synth.play(Flute, {72, 76}, false);
    stereoSynth.play(Flute, {72, 76}, false);
    const auto mono = synth.render(0.3, 300); // blocks that straddle the scratch buffer
    std::vector<float> stereo(2 * mono.size());
    stereoSynth.engine->render(stereo.data(), mono.size(), 2);
    double worst = 0;
    for (std::size_t i = 0; i < mono.size(); ++i)
        worst = std::max(worst, std::abs(mono[i] - 0.5 * (stereo[2 * i] + stereo[2 * i + 1])));
    EXPECT_LT(worst, 1e-6);
    EXPECT_GT(peakAbs(mono), 0.01);
}

TEST_P(SynthSound, MessagesApplyInOrderWhateverTheBlockSize) {
    int program = 1;
    for (std::size_t block : {0, 1, 63, 64, 65, 0, 64, 1}) {
        // Two program changes in one block: the later one wins.
        ASSERT_TRUE(synth.port.send(packMidiMessage(0xC0, static_cast<std::uint8_t>(program))));
        ASSERT_TRUE(synth.port.send(packMidiMessage(0xC0, static_cast<std::uint8_t>(program + 1))));
        std::vector<float> out(block + 1, 7.0f);
        synth.engine->render(out.data(), block, 1);
        EXPECT_EQ(synth.engine->channelProgram(0), program + 1) << "block " << block;
        EXPECT_EQ(out[block], 7.0f) << "wrote past the block of " << block;
        program += 2;
    }
    // A note queued before an empty block sounds in the next one; a note-on followed by the
    // reset in the same block never sounds, the reverse order does. (The reset leaves the
    // sound it cut a tail of a few samples.)
    synth.port.send(packMidiMessage(0x90, 60, 100));
    float none = 0;
    synth.engine->render(&none, 0, 1);
    EXPECT_GT(peakAbs(synth.render(0.2)), 0.01);
    synth.port.reset();
    synth.port.send(packMidiMessage(0x90, 64, 100));
    synth.port.reset();
    EXPECT_EQ(peakAbs(slice(synth.render(0.2), 0.005, 0.2)), 0.0);
    synth.port.reset();
    synth.port.send(packMidiMessage(0x90, 64, 100));
    EXPECT_GT(peakAbs(synth.render(0.2)), 0.01);
}

INSTANTIATE_TEST_SUITE_P(InstalledSoundFonts, SynthSound,
                         ::testing::ValuesIn(soundFontsUnderTest()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) {
                             std::string name = info.param.stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name + "_" + std::to_string(info.index);
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SynthSound); // SynthSoundFont.IsInstalled fails

} // namespace
