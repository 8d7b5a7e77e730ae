// The adaptive path on the capture thread allocates nothing: every allocation is counted while
// calibration, words, a sound outside the vocabulary and an over-long noise go through it.
#include <gtest/gtest.h>

#include "Feeding.h"
#include "Voices.h"
#include "recognition/CRecognizer.h"
#include "support/CountingAllocator.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

struct Counter {
    int words = 0, again = 0;
    static void word(int, void* c) { ++static_cast<Counter*>(c)->words; }
    static void sayAgain(void* c) { ++static_cast<Counter*>(c)->again; }
};

TEST(AdaptivePath, AllocatesNothingWhileRecognising) {
    CRecognizer r;
    r.setRecognitionPath(RecognitionPath::Adaptive);
    const Samples floor = noise(40, 22000, 5);
    r.StartNoiseMeasure();
    feed(r, floor);
    r.StopCapture();
    for (int w = 0; w < 2; ++w) {
        for (int take = 0; take < 3; ++take) {
            r.StartWordRecording(w * 2 + 12 * take);
            feed(r, concat({noise(40, 3000, 2), syllable(Words[w], 120 + 15 * take, 0.5, 3000),
                            floor}));
            r.StopCapture();
            r.SetCandidate(w * 2 + 12 * take, true);
        }
    }
    for (int p = 40; p < 50; ++p) {
        r.SetCandidate(p, p == 45); // an instrument candidate: the pitch tracker runs too
    }
    const Samples stream = concat(
        {floor, syllable(Words[0], 130, 0.5, 3000), floor, syllable(Words[1], 130, 0.5, 3000),
         floor, noise(3000, 4 * 22000, 6), floor, instrumentNote(45, 0.5, 8000), floor});
    Counter counter;
    r.setSayAgainCallback(&Counter::sayAgain);
    r.StartRecognition(&Counter::word, &counter);

    const long before = tessimo::test::allocationCount();
    feed(r, stream);
    const long during = tessimo::test::allocationCount() - before;

    EXPECT_EQ(during, 0);
    EXPECT_GE(counter.words + counter.again, 3);
}

} // namespace
} // namespace tessimo
