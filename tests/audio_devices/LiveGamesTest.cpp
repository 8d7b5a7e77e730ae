// Record and Recognize end to end on the real sound path: speech made with espeak-ng (and
// notes rendered by the synthesiser) is played into the virtual microphone at the moments of
// the Record game's timeline, the template file then holds every word, and in Recognize the
// test says the expected note's name each time; the score counts the right answers.
#include <gtest/gtest.h>

#include <map>

#include "LiveRig.h"
#include "OfflineSynth.h"
#include "game/CommandIds.h"
#include "model/NoteNames.h"
#include "recognition/TemplateFile.h"

namespace tessimo {
namespace {

using namespace tessimo::test;

constexpr int Do = 60, Mi = 64, Sol = 67;

// Sounds for each word slot, and for the recognition of each pitch.
struct Vocabulary {
    std::map<int, std::vector<std::int16_t>> recorded; // by slot
    std::map<int, std::vector<std::int16_t>> answers;  // by pitch
};

Vocabulary voiceVocabulary(const std::filesystem::path& folder) {
    Vocabulary v;
    const std::map<int, std::string> names = {{0, "do"}, {4, "mi"}, {7, "sol"}};
    const int pitches[3] = {40, 50, 60}; // three speakers, as the three recordings of a name
    for (const auto& [pitchClass, name] : names) {
        for (int take = 0; take < 3; ++take)
            v.recorded[pitchClass + 12 * take] = spoken(folder, name, pitches[take], 150);
        v.answers[60 + pitchClass] = spoken(folder, name, 45, 160);
    }
    return v;
}

// A piano note from the synthesiser at 22000 Hz, held 0.5 s, with silence around it.
std::vector<std::int16_t> pianoNote(const std::filesystem::path& soundFont, int pitch,
                                    std::uint8_t velocity) {
    ChannelMessageRing ring;
    SynthMidiPort port{ring};
    MidiPlayer player{port};
    std::string reason;
    auto engine = SynthEngine::create(22000, soundFont, ring, reason);
    if (engine == nullptr)
        return {};
    port.markReady();
    const auto key = static_cast<std::uint8_t>(pitch);
    const std::uint8_t length = 0;
    std::vector<float> sound(2200, 0.0f);
    auto render = [&](double seconds) {
        const std::size_t at = sound.size();
        sound.resize(at + static_cast<std::size_t>(seconds * 22000));
        for (std::size_t i = at; i < sound.size(); i += 256)
            engine->render(sound.data() + i, std::min<std::size_t>(256, sound.size() - i), 1);
    };
    player.MidiPlay(0, &key, &length, 1, velocity, false);
    render(0.5);
    player.MidiStop();
    render(0.1);
    sound.resize(sound.size() + 6600, 0.0f);
    // Played close to the microphone: peaks at about 3/4 of full scale, so that the room noise
    // stays under the trimming's threshold (0.5 % of the recording's range), as with speech.
    float peak = 1e-6f;
    for (const float s : sound)
        peak = std::max(peak, std::abs(s));
    std::vector<std::int16_t> samples(sound.size());
    for (std::size_t i = 0; i < sound.size(); ++i)
        samples[i] = static_cast<std::int16_t>(std::lround(sound[i] / peak * 24000.0f));
    return samples;
}

Vocabulary instrumentVocabulary() {
    Vocabulary v;
    const auto fonts = soundFontsUnderTest();
    if (fonts.empty())
        return v;
    for (int pitch : {Do, Mi, Sol}) {
        v.recorded[pitch] = pianoNote(fonts.front(), pitch, ExerciseVelocity);
        v.answers[pitch] = pianoNote(fonts.front(), pitch, 80);
    }
    return v;
}

SettingsRecord gameSettings(int soundMode) {
    SettingsRecord s = testing::settingsWith({Do, Mi, Sol});
    s.soundMode = soundMode;
    s.speed = 0; // the staff waits for each answer
    s.errorLimitOn = 0;
    s.unknownLimitOn = 0;
    return s;
}

bool complete(const Vocabulary& v) {
    if (v.recorded.empty() || v.answers.empty())
        return false;
    for (const auto& [slot, sound] : v.recorded) {
        if (sound.empty())
            return false;
    }
    for (const auto& [pitch, sound] : v.answers) {
        if (sound.empty())
            return false;
    }
    return true;
}

// Record: every word is played into the microphone 100 ms after its capture starts.
void recordEveryWord(LiveRig& rig, const Vocabulary& v) {
    CBrindelView& view = *rig.view;
    ASSERT_TRUE(view.isCommandEnabled(RecordCommand));
    ASSERT_TRUE(view.onCommand(RecordCommand));
    int spokenPosition = -1;
    const bool done = rig.runUntil([&] { return view.gameMode() == GameMode::Idle; },
                                   [&] {
                                       const RecordProgress& p = view.recordProgress();
                                       if (view.gameMode() != GameMode::Record || p.tick != 0 ||
                                           p.position < 0 || p.position == spokenPosition)
                                           return;
                                       spokenPosition = p.position;
                                       ASSERT_GE(p.currentWord, 0);
                                       std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                       rig.server.play(v.recorded.at(p.currentWord));
                                   },
                                   std::chrono::seconds(90));
    ASSERT_TRUE(done) << "Record did not end";

    const int words = view.wordCount();
    for (int n = 0; n < words; ++n) {
        const int slot = view.pitchTable().nthWord(n, view.settings().soundMode)->wordIndex;
        EXPECT_TRUE(rig.recognizer->HasTemplate(slot)) << "slot " << slot;
        EXPECT_EQ(view.pitchTable()[slot].hasTemplate, 1) << "slot " << slot;
    }
    const auto bytes = ReadWholeFile("record.dat", MaxTemplateFileBytes());
    ASSERT_TRUE(bytes.has_value()) << "no template file";
    const auto contents = ParseTemplateFile(*bytes);
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(static_cast<int>(contents->records.size()), words);
    EXPECT_GT(contents->noiseLevel, 0.0f);
}

struct Score {
    int attempts = 0;
    int ok = 0;
    int errors = 0;
};

// Recognize: whenever the first unanswered note waits at the stop, the test says its name (or
// plays it) and waits for the judgement, up to rounds times.
Score recognizeRounds(LiveRig& rig, const Vocabulary& v, int rounds) {
    CBrindelView& view = *rig.view;
    Score score;
    EXPECT_TRUE(view.isCommandEnabled(RecognizeCommand));
    view.onCommand(RecognizeCommand);
    auto waitingSince = SteadyTime::now();
    bool waiting = false;
    rig.runUntil([&] { return score.attempts >= rounds && !waiting; },
                 [&] {
                     const GameState& s = view.state();
                     if (waiting) {
                         const bool judged = s.okCount + s.errorCount != score.ok + score.errors;
                         if (judged || SteadyTime::now() - waitingSince > std::chrono::seconds(3)) {
                             waiting = false;
                             score.ok = s.okCount;
                             score.errors = s.errorCount;
                         }
                         return;
                     }
                     const CNote* first = view.questionNotes().firstUnanswered();
                     if (score.attempts >= rounds || first == nullptr || first->x > 1600 ||
                         s.expectedPitch < 0)
                         return;
                     ++score.attempts;
                     waiting = true;
                     waitingSince = SteadyTime::now();
                     rig.server.play(v.answers.at(s.expectedPitch));
                 },
                 std::chrono::seconds(10 + 4 * rounds));
    return score;
}

// A wrong name counts an error.
void wrongAnswerCounts(LiveRig& rig, const Vocabulary& v) {
    CBrindelView& view = *rig.view;
    const int expected = view.state().expectedPitch;
    ASSERT_GE(expected, 0);
    const int wrong = expected == Do ? Sol : Do;
    const int errorsBefore = view.state().errorCount;
    const int okBefore = view.state().okCount;
    rig.server.play(v.answers.at(wrong));
    rig.runUntil([&] { return view.state().errorCount != errorsBefore; }, [] {},
                 std::chrono::seconds(4));
    EXPECT_EQ(view.state().errorCount, errorsBefore + 1);
    EXPECT_EQ(view.state().okCount, okBefore);
}

void playTheGames(int soundMode, const Vocabulary& v, const char* label) {
    LiveRig rig;
    if (!rig.ready())
        GTEST_SKIP() << rig.problem;
    ASSERT_TRUE(rig.server.play(roomNoise(22000 * 150))); // the room, all along
    rig.prepare(gameSettings(soundMode));
    recordEveryWord(rig, v);
    if (::testing::Test::HasFatalFailure())
        return;
    const Score score = recognizeRounds(rig, v, 6);
    std::printf("%s: %d of %d names recognised right, %d wrong\n", label, score.ok, score.attempts,
                score.errors);
    EXPECT_GE(score.ok, 4);
    EXPECT_LE(score.errors, 1);
    wrongAnswerCounts(rig, v);
    rig.view->onCommand(PlayNotesCommand);
    EXPECT_TRUE(rig.said.all().empty()) << rig.said.all().front();
}

TEST(LiveGames, VoiceRecordThenRecognize) {
    const auto folder = std::filesystem::temp_directory_path() / "tessimo-live-voice";
    std::filesystem::create_directories(folder);
    const Vocabulary v = voiceVocabulary(folder);
    if (!complete(v))
        GTEST_SKIP() << "espeak-ng or sox is missing";
    playTheGames(Voice, v, "Voice");
    std::filesystem::remove_all(folder);
}

TEST(LiveGames, InstrumentRecordThenRecognize) {
    const Vocabulary v = instrumentVocabulary();
    ASSERT_TRUE(complete(v)) << "no SoundFont to render the instrument with";
    playTheGames(Instrument, v, "Instrument");
}

} // namespace
} // namespace tessimo
