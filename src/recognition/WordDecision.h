// What the adaptive path made of one detected word.
#pragma once

#include "recognition/TemplateSpread.h"

namespace tessimo {

struct WordDecision {
    int slot = -1;       // the word recognised, -1 when it is not judged ("say again")
    AdaptiveMatch match; // the templates' verdict (slot -1 without templates)
    int pitch = -1;      // the pitch tracker's note, -1 when none or not asked
};

} // namespace tessimo
