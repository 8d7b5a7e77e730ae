// Recognition on the capture thread allocates nothing: every allocation is counted while a
// stream of words, saturations and silences goes through the detector.
#include <gtest/gtest.h>

#include "Feeding.h"
#include "Signals.h"
#include "recognition/CRecognizer.h"
#include "support/CountingAllocator.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

struct Counter {
    int reports[8] = {};
    int count = 0;
    static void callback(int slot, void* context) {
        auto* c = static_cast<Counter*>(context);
        if (c->count < 8) {
            c->reports[c->count] = slot;
        }
        ++c->count;
    }
};

TEST(Recognition, AllocatesNothingWhileRecognising) {
    CRecognizer r;
    const Samples floor = noise(40, 2 * CaptureBufferSamples, 5);
    r.StartNoiseMeasure();
    feed(r, floor);
    const Samples a = concat({chirp(300, 900, 7000, 3 * CaptureBufferSamples), floor});
    const Samples b = concat({chirp(1900, 1000, 7000, 2 * CaptureBufferSamples), floor});
    const Samples tooLong = concat({tone(600, 7000, 10 * CaptureBufferSamples), floor});
    for (int slot = 0; slot < 2; ++slot) {
        r.StartWordRecording(slot);
        feed(r, slot == 0 ? a : b);
        r.StopCapture();
        r.SetCandidate(slot, true);
    }
    const Samples stream = concat({floor, a, b, tooLong, floor, b, noise(40, 4097, 9)});
    Counter counter;
    r.StartRecognition(&Counter::callback, &counter);

    const long before = tessimo::test::allocationCount();
    feed(r, stream);
    const long during = tessimo::test::allocationCount() - before;

    EXPECT_EQ(during, 0);
    ASSERT_EQ(counter.count, 3);
    EXPECT_EQ(counter.reports[0], 0);
    EXPECT_EQ(counter.reports[1], 1);
    EXPECT_EQ(counter.reports[2], 1);
}

} // namespace
} // namespace tessimo
