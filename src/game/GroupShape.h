// The interval or chord that the answer group shows, and its label: what the user has placed
// so far in the interval and chord exercises. Plain data, read by the painter.
#pragma once

#include <string>

namespace tessimo {

struct GroupShape {
    int shownInterval = 0;  // half-tones from the reference note to the other one
    int chosenInterval = 0; // the interval the wheel chose; moving keeps it when it fits
    int shownChord = 0;     // row of the chord table
    int chosenChord = 0;
    int spread = 0;   // largest x - smallest x of the answer group, to centre its label
    std::string text; // label of the answer group, e.g. "DO +7/2" or "SOL m"
};

} // namespace tessimo
