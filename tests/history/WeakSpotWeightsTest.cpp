#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <map>
#include <set>
#include <vector>

#include "HistoryTestSupport.h"
#include "game/MersenneRandom.h"
#include "game/QuestionGenerator.h"
#include "history/HistoryQueries.h"
#include "history/HistoryWriter.h"
#include "history/WeakSpotWeights.h"
#include "model/Pitch.h"
#include "model/PitchTable.h"
#include "support/FakeTemplateStore.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;
using O = Outcome;

TEST(LeitnerBoxes, ARightAnswerMovesUpAndAMissSendsBack) {
    const auto box = [](std::vector<Outcome> newestFirst) { return leitnerBox(newestFirst); };
    EXPECT_EQ(box({}), 1); // never asked: practised first
    EXPECT_EQ(box({O::Right}), 2);
    EXPECT_EQ(box({O::Right, O::Right, O::Wrong, O::Right}), 3);
    EXPECT_EQ(box({O::Missed, O::Right, O::Right, O::Right}), 1);
    EXPECT_EQ(box({O::Right, O::Right, O::Right, O::Right}), 5);
    EXPECT_EQ(box({O::Right, O::Right, O::Right, O::Right, O::Right, O::Right}), 5);
    EXPECT_EQ(leitnerWeight(1), 16u);
    EXPECT_EQ(leitnerWeight(5), 1u);
    EXPECT_EQ(leitnerWeight(9), 1u);
    EXPECT_EQ(leitnerWeight(0), 16u);
}

TEST(WeightedDraw, EachIndexTakesItsShareOfTheRandomNumbers) {
    const std::vector<WeightedPitch> weights = {{60, 1}, {62, 16}, {64, 2}};
    std::map<int, int> hits;
    for (std::uint32_t r = 0; r < 19 * 100; ++r) {
        ++hits[drawIndex(weights.size(), weights, r)];
    }
    EXPECT_EQ(hits[0], 100);
    EXPECT_EQ(hits[1], 1600);
    EXPECT_EQ(hits[2], 200);
    EXPECT_EQ(drawIndex(0, {}, 5), -1);
    // Without weights, or with weights that do not fit the selection: the plain draw.
    EXPECT_EQ(drawIndex(7, {}, 12345), 12345 % 7);
    EXPECT_EQ(drawIndex(2, weights, 5), 1);
}

// The plain draw is the game's own: the same pitches from the same random numbers.
TEST(WeightedDraw, WithTheOptionOffTheSequenceIsTodays) {
    SettingsRecord settings;
    settings.notes.fill(0);
    for (int p : {48, 50, 52, 53, 55, 57, 59, 60, 61, 72, 83}) {
        settings.notes[static_cast<std::size_t>(p - LowestPitch)] = 1;
    }
    settings.soundMode = Synthesizer;
    FakeTemplateStore recognizer;
    PitchTable table;
    table.rebuildSelection(settings, recognizer);
    std::vector<int> selection;
    for (int i = 0; i < table.selectedCount(); ++i) {
        selection.push_back(table.nthSelected(i)->pitch);
    }
    ASSERT_EQ(selection.size(), 11u);

    MersenneRandom gameRandom(2024);
    MersenneRandom ourRandom(2024);
    QuestionGenerator generator(settings, table, gameRandom);
    for (int i = 0; i < 2000; ++i) {
        CNote drawn;
        ASSERT_TRUE(generator.randomSelected(drawn));
        const int index = drawIndex(selection.size(), {}, ourRandom.next());
        ASSERT_EQ(selection[static_cast<std::size_t>(index)], drawn.pitch) << "draw " << i;
    }
}

// A simulated user who always misses RE and FA of a C major octave and knows the rest.
struct SimulatedUser {
    std::set<int> weak = {62, 65};
    Outcome answer(int pitch) const { return weak.count(pitch) != 0 ? O::Missed : O::Right; }
};

std::map<int, int> practise(const std::vector<int>& selection, int questions, bool weighted,
                            std::uint32_t seed) {
    SimulatedUser user;
    std::map<int, std::deque<Outcome>> history; // newest first
    MersenneRandom random(seed);
    std::map<int, int> asked;
    for (int q = 0; q < questions; ++q) {
        std::vector<WeightedPitch> weights;
        if (weighted) {
            weights = weakSpotWeights(selection, [&](int pitch) {
                const std::deque<Outcome>& h = history[pitch];
                return std::vector<Outcome>(h.begin(), h.end());
            });
        }
        const int index = drawIndex(selection.size(), weights, random.next());
        const int pitch = selection.at(static_cast<std::size_t>(index));
        ++asked[pitch];
        history[pitch].push_front(user.answer(pitch));
    }
    return asked;
}

TEST(WeakSpots, TheMissedPitchesAreAskedFarMoreOftenAndNothingOutsideTheSelection) {
    const std::vector<int> selection = {60, 62, 64, 65, 67, 69, 71, 72};
    const int questions = 4000;
    const std::map<int, int> plain = practise(selection, questions, false, 11);
    const std::map<int, int> weighted = practise(selection, questions, true, 11);

    std::printf("pitch  plain  weighted (shares of %d questions)\n", questions);
    for (int pitch : selection) {
        std::printf("%5d  %5.1f%%  %5.1f%%\n", pitch,
                    100.0 * (plain.count(pitch) != 0 ? plain.at(pitch) : 0) / questions,
                    100.0 * (weighted.count(pitch) != 0 ? weighted.at(pitch) : 0) / questions);
    }
    for (const auto& [pitch, n] : weighted) {
        EXPECT_NE(std::find(selection.begin(), selection.end(), pitch), selection.end()) << pitch;
    }
    const double weakShare = static_cast<double>(weighted.at(62) + weighted.at(65)) / questions;
    const double plainShare = static_cast<double>(plain.at(62) + plain.at(65)) / questions;
    // Two boxes of 16 against six mastered ones of 1: 32 / 38 of the questions.
    EXPECT_GT(weakShare, 0.75);
    EXPECT_LT(plainShare, 0.35);
    for (int pitch : selection) {
        EXPECT_GT(weighted.count(pitch) != 0 ? weighted.at(pitch) : 0, 0) << pitch;
    }
}

// The same loop through the real file: answers recorded by the writer, boxes from the queries.
TEST(WeakSpots, WeightsFromTheStoredHistory) {
    TempFolder folder;
    const std::string path = folder.file("historyalto.sqlite");
    const std::vector<int> selection = {60, 62, 64, 65, 67};
    SimulatedUser user;
    HistoryWriter writer(path);
    for (int pitch : selection) {
        for (int i = 0; i < 4; ++i) {
            writer.record(
                note(pitch, user.answer(pitch) == O::Right ? pitch : -1, user.answer(pitch), 400));
        }
    }
    // Another exercise's answers do not count for this one.
    writer.record(note(64, 65, O::Wrong, 400, Exercise::Recognize, AnswerInput::Voice));
    ASSERT_TRUE(writer.flush(std::chrono::seconds(10)));

    HistoryProblem problem;
    HistoryQueries queries(path, problem);
    ASSERT_TRUE(queries.isOpen()) << problem.message;
    const std::vector<WeightedPitch> weights = weakSpotWeights(selection, [&](int pitch) {
        return queries.recentOutcomes(Exercise::NotesDictation, pitch, LeitnerBoxCount - 1);
    });
    ASSERT_EQ(weights.size(), selection.size());
    for (const WeightedPitch& w : weights) {
        EXPECT_EQ(w.weight, user.weak.count(w.pitch) != 0 ? 16u : 1u) << w.pitch;
    }
}

} // namespace
} // namespace tessimo
