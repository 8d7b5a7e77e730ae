// Practice where the user is weak: draw weights for the pitches of the user's selection from
// the answers in the history, by Leitner boxes. Each pitch sits in box 1..5: a wrong or
// missed answer sends it back to box 1, a right one moves it up one box; a pitch never asked
// starts in box 1. Box b weighs 2^(5 - b), so a pitch in box 1 is asked sixteen times as
// often as a mastered one in box 5, and no selected pitch ever weighs 0. Only the last four
// answers to a pitch decide its box, so the weights need four rows per pitch, not the whole
// history. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "history/AnswerOutcome.h"

namespace tessimo {

inline constexpr int LeitnerBoxCount = 5;

// The box of a pitch from its answers, newest first (only the first four matter).
int leitnerBox(std::span<const Outcome> newestFirst);

// The weight of a box 1..5: 16, 8, 4, 2, 1.
std::uint32_t leitnerWeight(int box);

struct WeightedPitch {
    int pitch = 0;
    std::uint32_t weight = 1;
};

// Weights for exactly the pitches of selection, in its order: recent(pitch) gives a pitch's
// answers newest first.
template <typename Recent>
std::vector<WeightedPitch> weakSpotWeights(std::span<const int> selection, Recent&& recent) {
    std::vector<WeightedPitch> weights;
    weights.reserve(selection.size());
    for (int pitch : selection) {
        const std::vector<Outcome> outcomes = recent(pitch);
        weights.push_back({pitch, leitnerWeight(leitnerBox(outcomes))});
    }
    return weights;
}

// The index into the selection of one draw from one random number r. Without weights (the
// option off, or empty weights) it is r % size, exactly the game's plain draw; with weights,
// index i is chosen with probability weight[i] / total. -1 for an empty selection.
int drawIndex(std::size_t selectionSize, std::span<const WeightedPitch> weights, std::uint32_t r);

} // namespace tessimo
