// One recorded word: its samples (16-bit mono at 22000 Hz) and its spectral frames.
#pragma once

#include <cstdint>
#include <vector>

#include "recognition/CFFTArray.h"

namespace tessimo {

struct WordSlot {
    std::vector<std::int16_t> samples;
    CFFTArray frames;

    // Number of sample bytes; 0 for an empty slot.
    std::uint32_t length() const { return static_cast<std::uint32_t>(2 * samples.size()); }
};

} // namespace tessimo
