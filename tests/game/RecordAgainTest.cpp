// After Record, the words that were not heard or that sound like another word are offered to
// be recorded again, one at a time; recording one word again records its takes alone.
#include <gtest/gtest.h>

#include "game/EngineRig.h"
#include "support/ScratchDirectory.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

void runToIdle(EngineRig& rig) {
    for (int i = 0; i < 400 && rig.view.gameMode() != GameMode::Idle; ++i) {
        rig.tick();
    }
    ASSERT_EQ(rig.view.gameMode(), GameMode::Idle);
}

class RecordAgain : public ::testing::Test {
    ScratchDirectory scratch_{"tessimo_record_again"};
};

std::vector<int> argumentsOf(const EngineRig& rig, const std::string& name) {
    std::vector<int> arguments;
    for (const auto& call : rig.recognizer.calls) {
        if (call.name == name) {
            arguments.push_back(call.argument);
        }
    }
    return arguments;
}

std::vector<std::string> namesOf(const std::vector<WordToRecordAgain>& words) {
    std::vector<std::string> names;
    for (const WordToRecordAgain& w : words) {
        names.push_back(w.name + (w.heardNothing ? " (not heard)" : ""));
    }
    return names;
}

// Voice: DO, MI, SOL, SI (Latin names). MI was not heard; SOL and SI sound alike, and so do
// SOL and LA, which the selection does not use.
EngineRig& voiceRecordWithDoubts(EngineRig& rig) {
    SettingsRecord s = settingsWith({60, 64, 67, 71});
    s.soundMode = Voice;
    rig.prepare(s);
    rig.recognizer.silentSlots[4 + 12] = true; // one take of MI
    rig.recognizer.confusablePairs = {{7, 11, 900.0f}, {7, 9, 950.0f}};
    EXPECT_TRUE(rig.view.onCommand(RecordCommand));
    runToIdle(rig);
    return rig;
}

TEST_F(RecordAgain, TheWordsNotHeardAndThoseThatSoundAlikeAreOfferedAndNamed) {
    EngineRig rig;
    voiceRecordWithDoubts(rig);
    ASSERT_EQ(rig.status.offers.size(), 1u); // nothing to withdraw before: offered once
    EXPECT_EQ(namesOf(rig.status.offers.back()),
              (std::vector<std::string>{"MI (not heard)", "SOL", "SI"}));
    EXPECT_EQ(namesOf(rig.view.wordsToRecordAgain()), namesOf(rig.status.offers.back()));
    EXPECT_EQ(rig.status.messages.back(), "SOL and SI sound alike: use Record again.");
}

TEST_F(RecordAgain, RecordingOneWordAgainRecordsReplaysAndSavesItsTakesAlone) {
    EngineRig rig;
    voiceRecordWithDoubts(rig);
    const int asked = rig.confirmation.asked;
    rig.recognizer.silentSlots[4 + 12] = false;
    rig.recognizer.confusablePairs.clear();
    rig.recognizer.calls.clear();

    ASSERT_TRUE(rig.view.recordWordAgain(4));
    EXPECT_EQ(rig.confirmation.asked, asked); // chosen from the offer: not asked again
    EXPECT_EQ(rig.view.gameMode(), GameMode::Record);
    EXPECT_TRUE(rig.status.offers.back().empty()); // withdrawn while recording
    runToIdle(rig);

    EXPECT_EQ(argumentsOf(rig, "StartNoiseMeasure").size(), 1u);
    EXPECT_EQ(argumentsOf(rig, "StartWordRecording"), (std::vector<int>{4, 16, 28}));
    EXPECT_EQ(argumentsOf(rig, "PlayWord"), (std::vector<int>{4, 16, 28}));
    EXPECT_EQ(argumentsOf(rig, "SaveTemplates").size(), 1u);
    EXPECT_EQ(rig.view.pitchTable()[16].hasTemplate, 1);
    EXPECT_TRUE(rig.view.isCommandEnabled(RecognizeCommand)); // every word is recorded now
    EXPECT_TRUE(rig.view.wordsToRecordAgain().empty());
    EXPECT_TRUE(rig.status.offers.back().empty());
}

TEST_F(RecordAgain, LeavingARecordBeforeItsEndKeepsTheOffer) {
    EngineRig rig;
    voiceRecordWithDoubts(rig);
    const auto before = namesOf(rig.view.wordsToRecordAgain());
    ASSERT_TRUE(rig.view.recordWordAgain(7));
    rig.ticks(20);
    EXPECT_TRUE(rig.view.wordsToRecordAgain().empty());
    rig.view.stopExercise(); // Escape during the recording
    EXPECT_EQ(namesOf(rig.view.wordsToRecordAgain()), before);
    EXPECT_EQ(namesOf(rig.status.offers.back()), before);
}

TEST_F(RecordAgain, AWordStillUnheardAfterAnotherIsRecordedAgainStaysOffered) {
    EngineRig rig;
    SettingsRecord s = settingsWith({60, 62, 64});
    s.soundMode = Instrument;
    rig.prepare(s);
    rig.recognizer.silentSlots[62] = true;
    rig.recognizer.silentSlots[64] = true;
    ASSERT_TRUE(rig.view.onCommand(RecordCommand));
    runToIdle(rig);
    EXPECT_EQ(namesOf(rig.view.wordsToRecordAgain()),
              (std::vector<std::string>{"RE 4 (not heard)", "MI 4 (not heard)"}));

    rig.recognizer.silentSlots[62] = false;
    ASSERT_TRUE(rig.view.recordWordAgain(62));
    runToIdle(rig);
    EXPECT_EQ(namesOf(rig.view.wordsToRecordAgain()),
              (std::vector<std::string>{"MI 4 (not heard)"}));
}

TEST_F(RecordAgain, OnlyWordsOfTheSelectionCanBeRecordedAgain) {
    EngineRig rig;
    voiceRecordWithDoubts(rig);
    rig.recognizer.calls.clear();
    EXPECT_FALSE(rig.view.recordWordAgain(2)); // RE is not selected
    EXPECT_FALSE(rig.view.recordWordAgain(-1));
    EXPECT_FALSE(rig.view.recordWordAgain(200));
    EXPECT_EQ(rig.view.gameMode(), GameMode::Idle);
    EXPECT_TRUE(argumentsOf(rig, "StartWordRecording").empty());

    // A new selection keeps only the offered words it still uses.
    SettingsRecord s = settingsWith({60, 67});
    s.soundMode = Voice;
    rig.prepare(s);
    EXPECT_EQ(namesOf(rig.view.wordsToRecordAgain()), (std::vector<std::string>{"SOL"}));
    EXPECT_EQ(namesOf(rig.status.offers.back()), (std::vector<std::string>{"SOL"}));

    // With the synthesiser nothing is recorded, and nothing is offered.
    s.soundMode = Synthesizer;
    rig.prepare(s);
    EXPECT_FALSE(rig.view.recordWordAgain(7));
    EXPECT_TRUE(rig.status.offers.back().empty());
}

TEST_F(RecordAgain, AnotherUserSeesNoneOfThePreviousUsersWords) {
    EngineRig rig;
    voiceRecordWithDoubts(rig);
    ASSERT_FALSE(rig.view.wordsToRecordAgain().empty());
    rig.dialogs.chosenName = "anna";
    rig.view.onCommand(ProfileCommand);
    EXPECT_TRUE(rig.view.wordsToRecordAgain().empty());
    EXPECT_TRUE(rig.status.offers.back().empty());
}

} // namespace
} // namespace tessimo
