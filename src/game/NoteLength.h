// How long a note lasts in milliseconds, as the synthesiser's note requests carry it: one byte,
// so a longer note says 255 ms rather than wrapping around to a short one.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/Durations.h"

namespace tessimo {

inline std::uint8_t noteLengthMs(int durationCode, int unitMs) {
    const int code = std::clamp(durationCode, 0, DurationCodeCount - 1);
    const int ms = DurationTable[static_cast<std::size_t>(code)] * unitMs;
    return static_cast<std::uint8_t>(std::clamp(ms, 0, 255));
}

} // namespace tessimo
