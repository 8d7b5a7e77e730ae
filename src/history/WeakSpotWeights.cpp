#include "history/WeakSpotWeights.h"

namespace tessimo {

int leitnerBox(std::span<const Outcome> newestFirst) {
    int box = 1;
    // Replaying the answers oldest first (right: up one box, at most the last; anything else:
    // back to the first) ends in box 1 + the right answers since the last miss, at most 4;
    // counting them back from the newest gives the same without the older rows.
    int run = 0;
    for (Outcome outcome : newestFirst) {
        if (outcome != Outcome::Right || run == LeitnerBoxCount - 1) {
            break;
        }
        ++run;
    }
    box += run;
    return box;
}

std::uint32_t leitnerWeight(int box) {
    if (box < 1) {
        box = 1;
    }
    if (box > LeitnerBoxCount) {
        box = LeitnerBoxCount;
    }
    return std::uint32_t{1} << (LeitnerBoxCount - box);
}

int drawIndex(std::size_t selectionSize, std::span<const WeightedPitch> weights, std::uint32_t r) {
    if (selectionSize == 0) {
        return -1;
    }
    if (weights.size() != selectionSize) {
        return static_cast<int>(r % static_cast<std::uint32_t>(selectionSize));
    }
    std::uint64_t total = 0;
    for (const WeightedPitch& w : weights) {
        total += w.weight;
    }
    if (total == 0) {
        return static_cast<int>(r % static_cast<std::uint32_t>(selectionSize));
    }
    std::uint64_t point = r % total;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (point < weights[i].weight) {
            return static_cast<int>(i);
        }
        point -= weights[i].weight;
    }
    return static_cast<int>(weights.size() - 1);
}

} // namespace tessimo
