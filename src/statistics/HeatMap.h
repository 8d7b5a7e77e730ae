// The cells of the heat map that the statistics window draws over the staff and the keyboard:
// one per pitch asked, with its numbers, its text and its heat. Pure; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/HistoryQueries.h"

namespace tessimo {

enum class HeatMeasure { Accuracy, AnswerTime };

struct HeatCell {
    int pitch = 0;
    int asked = 0;
    int right = 0;
    int percentRight = 0; // rounded to the nearest whole percent
    int medianAnswerMs = -1;
    // 0 (worst) to 1 (best) in the measure shown; -1 when the measure has no value (no right
    // answer, so no answer time).
    double heat = -1;
    std::string label; // what the cell shows: "87%" or "1.4 s"; "-" when there is no value
};

struct HeatRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const HeatRgb&) const = default;
};

// Whole percent right, rounded half up: 2 of 3 is 67.
int percentRight(int right, int asked);

// "1.4 s" for 1400 ms, to the tenth of a second (half up); "-" for no time.
std::string secondsText(int ms);

// One cell per pitch of the statistics, in their order (lowest first). By accuracy the heat
// is the share right. By answer time it places the median between the fastest and the slowest
// median shown (fastest 1, slowest 0; 1 when all are equal).
std::vector<HeatCell> heatCells(const std::vector<PitchStatistics>& pitches, HeatMeasure measure);

// The colour of a heat: red at 0 through amber to green at 1; grey for no value.
HeatRgb heatColour(double heat);

// One line on a cell for a tool tip: "E4: 12 of 15 right (80 %), median 1.4 s".
std::string cellDescription(const HeatCell& cell, int convention);

} // namespace tessimo
