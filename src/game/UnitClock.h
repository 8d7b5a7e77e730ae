// The metre clock of the scrolling exercises: the notes move by x, every 18 x is one duration
// unit, and a question enters when the unit count reaches the unit of the next one. Plain
// data with the rules that move it. User-interface thread only.
#pragma once

#include <cstdint>

namespace tessimo {

struct UnitClock {
    static constexpr int UnitX = 18; // x per duration unit

    int unitCounter = -1;     // duration units elapsed since the exercise started
    int pixelAccumulator = 0; // scrolled x not yet turned into a unit
    int barLength = 0;        // beatLength x beatsPerBar, set with the settings
    int barRemaining = 0;     // units left in the current bar
    int nextSpawnUnit = 0;    // unit of the next question (Listen notes: position in the bar)
    std::uint8_t unitMs = 0;  // milliseconds per duration unit, set when Listen notes starts

    // Back to the start of an exercise: no unit elapsed, a whole bar ahead.
    void restart() {
        unitCounter = -1;
        pixelAccumulator = 0;
        barRemaining = barLength;
        nextSpawnUnit = 0;
    }

    // Adds step x; true when the unit of the next question has come.
    bool advance(int step) {
        pixelAccumulator += step;
        if (pixelAccumulator >= UnitX) {
            ++unitCounter;
            pixelAccumulator -= UnitX;
            barRemaining = barLength > 0 ? barLength - unitCounter % barLength : 0;
        }
        return unitCounter == nextSpawnUnit;
    }
};

} // namespace tessimo
