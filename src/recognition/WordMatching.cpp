#include "recognition/WordMatching.h"

namespace tessimo {

MatchResult BestMatch(const CFFTArray& input, const std::array<WordSlot, WordSlotCount>& slots,
                      const std::array<std::uint8_t, TemplateSlotCount>& candidate) {
    MatchResult best;
    for (int slot = 0; slot < TemplateSlotCount; ++slot) {
        const WordSlot& word = slots[static_cast<std::size_t>(slot)];
        if (candidate[static_cast<std::size_t>(slot)] == 0 || word.length() == 0) {
            continue;
        }
        const float d = WarpDistance(input, word.frames);
        if (d < best.distance) { // strictly: ties keep the lower slot
            best.distance = d;
            best.slot = slot;
        }
    }
    return best;
}

} // namespace tessimo
