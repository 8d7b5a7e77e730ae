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
#include "history/WeakSpotDraw.h"
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

namespace tessimo {
namespace {

using namespace tessimo::testing;

// A C major octave selected for Notes Dictation, as the engine's table holds it.
struct GeneratorRig {
    SettingsRecord settings;
    FakeTemplateStore recognizer;
    PitchTable table;
    UnitClock clock;
    CNotesList questions;

    GeneratorRig() {
        settings.notes.fill(0);
        for (int p : {60, 62, 64, 65, 67, 69, 71, 72}) {
            settings.notes[static_cast<std::size_t>(p - LowestPitch)] = 1;
        }
        settings.soundMode = Synthesizer;
        table.rebuildSelection(settings, recognizer);
    }
    // The pitch of the next question note.
    int ask(QuestionGenerator& generator) {
        generator.newNoteQuestion(GameMode::NotesDictation, clock, questions);
        const int pitch = questions.back().pitch;
        questions.removeAll();
        return pitch;
    }
};

// Off, the generator with a pitch draw that gives the plain index asks what it asks without
// one; a draw that answers outside the selection falls back to that same plain draw.
TEST(WeakSpotQuestions, WithTheOptionOffTheGeneratorAsksTodaysSequence) {
    GeneratorRig rig;
    MersenneRandom todays(77);
    MersenneRandom plain(77);
    MersenneRandom wild(77);
    const PitchDraw plainDraw = [](GameMode, std::span<const int> selection, std::uint32_t r) {
        return static_cast<int>(r % selection.size());
    };
    const PitchDraw outside = [](GameMode, std::span<const int> selection, std::uint32_t) {
        return static_cast<int>(selection.size()) + 3;
    };
    QuestionGenerator today(rig.settings, rig.table, todays);
    QuestionGenerator withPlain(rig.settings, rig.table, plain, &plainDraw);
    QuestionGenerator withOutside(rig.settings, rig.table, wild, &outside);
    for (int i = 0; i < 1000; ++i) {
        const int expected = rig.ask(today);
        ASSERT_EQ(rig.ask(withPlain), expected) << "question " << i;
        ASSERT_EQ(rig.ask(withOutside), expected) << "question " << i;
    }
}

// The simulated user who always misses RE and FA, through the generator and a history file:
// every answer is recorded by the writer and reported to the draw, as the game does.
TEST(WeakSpotQuestions, TheMissedPitchesAreAskedMoreOftenThroughTheGenerator) {
    TempFolder folder;
    const std::string path = folder.file("historyalto.sqlite");
    {
        // Earlier sessions: every pitch answered right four times, RE and FA missed.
        HistoryWriter writer(path);
        SimulatedUser user;
        for (int p : {60, 62, 64, 65, 67, 69, 71, 72}) {
            for (int i = 0; i < 4; ++i) {
                writer.record(note(p, -1, user.answer(p), 600));
            }
        }
        ASSERT_TRUE(writer.flush(std::chrono::seconds(10)));
    }

    const int questions = 3000;
    const auto practise = [&](bool weighted) {
        GeneratorRig rig;
        SimulatedUser user;
        WeakSpotDraw weakSpots(path);
        MersenneRandom random(5);
        const PitchDraw draw = [&](GameMode mode, std::span<const int> selection, std::uint32_t r) {
            EXPECT_EQ(mode, GameMode::NotesDictation);
            return weighted ? weakSpots.draw(Exercise::NotesDictation, selection, r)
                            : static_cast<int>(r % selection.size());
        };
        QuestionGenerator generator(rig.settings, rig.table, random, &draw);
        std::map<int, int> asked;
        for (int q = 0; q < questions; ++q) {
            const int pitch = rig.ask(generator);
            ++asked[pitch];
            weakSpots.noteOutcome(note(pitch, -1, user.answer(pitch), 600));
        }
        return asked;
    };
    const std::map<int, int> plain = practise(false);
    const std::map<int, int> weighted = practise(true);

    std::printf("pitch  even  weak spots (shares of %d questions)\n", questions);
    for (const auto& [pitch, n] : weighted) {
        std::printf("%5d  %4.1f%%  %4.1f%%\n", pitch,
                    100.0 * (plain.count(pitch) != 0 ? plain.at(pitch) : 0) / questions,
                    100.0 * n / questions);
    }
    const std::set<int> selection = {60, 62, 64, 65, 67, 69, 71, 72};
    for (const auto& [pitch, n] : weighted) {
        EXPECT_EQ(selection.count(pitch), 1u) << "asked " << pitch << " outside the selection";
    }
    EXPECT_EQ(weighted.size(), selection.size()) << "a selected pitch was never asked";
    const auto share = [&](const std::map<int, int>& asked) {
        return static_cast<double>(asked.at(62) + asked.at(65)) / questions;
    };
    EXPECT_LT(share(plain), 0.32);   // 2 of 8 pitches: 25 %
    EXPECT_GT(share(weighted), 0.7); // 2 x 16 against 6 x 1
}

// The draw reads the file once per pitch and follows the answers reported since; reload()
// reads the file again.
TEST(WeakSpotQuestions, TheDrawFollowsReportedAnswersAndReloads) {
    TempFolder folder;
    const std::string path = folder.file("history.sqlite");
    const std::vector<int> selection = {60, 62};
    WeakSpotDraw weakSpots(path); // no file yet: both in box 1, an even draw
    const auto firstShare = [&] {
        int first = 0;
        for (std::uint32_t r = 0; r < 1632; ++r) { // 32 x 17 x 3
            first += weakSpots.draw(Exercise::Recognize, selection, r) == 0 ? 1 : 0;
        }
        return first;
    };
    EXPECT_EQ(firstShare(), 816);
    for (int i = 0; i < 4; ++i) {
        weakSpots.noteOutcome(
            note(60, 60, Outcome::Right, 500, Exercise::Recognize, AnswerInput::Voice));
    }
    // 60 in box 5 (weight 1) against 62 in box 1 (16).
    EXPECT_EQ(firstShare(), 1632 / 17);
    // Another exercise's answers do not move Recognize's boxes.
    weakSpots.noteOutcome(note(62, 62, Outcome::Right, 500));
    EXPECT_EQ(firstShare(), 1632 / 17);

    {
        HistoryWriter writer(path);
        writer.record(note(62, 62, Outcome::Right, 500, Exercise::Recognize, AnswerInput::Voice));
        ASSERT_TRUE(writer.flush(std::chrono::seconds(10)));
    }
    weakSpots.reload();
    // From the file: 60 never answered (box 1, 16), 62 once right (box 2, 8).
    EXPECT_EQ(firstShare(), 1632 * 16 / 24);
    EXPECT_EQ(weakSpots.draw(Exercise::Recognize, {}, 3), -1);
}

} // namespace
} // namespace tessimo
