// Choosing the template closest to a detected word.
#pragma once

#include <array>
#include <cstdint>

#include "recognition/RecognizerEntryPoints.h"
#include "recognition/WarpDistance.h"
#include "recognition/WordSlot.h"

namespace tessimo {

struct MatchResult {
    int slot = -1;                 // best template, -1 when none came closer than WarpInfinity
    float distance = WarpInfinity; // its warping distance
    bool accepted() const { return slot >= 0 && distance <= AcceptanceDistance; }
};

// The template among slots 0..83 with candidate[slot] != 0 and samples that is closest to
// input under WarpDistance; on equal distances the lower slot. Any thread.
MatchResult BestMatch(const CFFTArray& input, const std::array<WordSlot, WordSlotCount>& slots,
                      const std::array<std::uint8_t, TemplateSlotCount>& candidate);

} // namespace tessimo
