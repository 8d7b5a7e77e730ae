// The 128 General MIDI programs with the flag that allows the Sustain option. Pure data.
#pragma once

#include <array>

namespace tessimo {

struct InstrumentRow {
    const char* name;
    bool sustainFlag; // the sound dies away by itself, so notes may be left ringing
};

inline constexpr int InstrumentCount = 128;
extern const std::array<InstrumentRow, InstrumentCount> InstrumentTable;

} // namespace tessimo
