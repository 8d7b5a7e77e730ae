// Feeding a recogniser as the capture would: 4096-sample buffers, the last one partial.
#pragma once

#include <algorithm>
#include <vector>

#include "Signals.h"
#include "recognition/CRecognizer.h"

namespace tessimo::testing {

inline void feed(CRecognizer& r, const Samples& s) {
    for (std::size_t i = 0; i < s.size(); i += CaptureBufferSamples) {
        r.onCaptureBuffer(s.data() + i, std::min<std::size_t>(CaptureBufferSamples, s.size() - i));
    }
}

// Collects the slots reported through the recognition callback.
struct Reports {
    std::vector<int> slots;
    static void callback(int slot, void* context) {
        static_cast<Reports*>(context)->slots.push_back(slot);
    }
};

} // namespace tessimo::testing
