#include <gtest/gtest.h>

#include "Feeding.h"
#include "Signals.h"
#include "recognition/CRecognizer.h"
#include "recognition/FrameAnalysis.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

constexpr int B = CaptureBufferSamples;

// A recogniser whose noise level is 100 x 100 (square wave of 100): threshold 20000, that is
// a square wave of 200.
struct Detector : ::testing::Test {
    CRecognizer r;
    Reports reports;

    void SetUp() override {
        r.StartNoiseMeasure();
        feed(r, square(100, B));
        EXPECT_EQ(r.noiseLevel(), 10000.0f);
        EXPECT_EQ(r.state(), S_NO_RECON);
    }
    void recognise() { r.StartRecognition(&Reports::callback, &reports); }
    // Records word into slot and makes it the only candidate.
    void record(int slot, const Samples& word) {
        r.StartWordRecording(slot);
        feed(r, word);
        r.StopCapture();
        r.SetCandidate(slot, true);
    }
};

TEST_F(Detector, NoiseMeasureTakesOneBufferThenIgnoresTheRest) {
    r.StartNoiseMeasure();
    EXPECT_EQ(r.state(), S_ENREG_BRUIT);
    feed(r, square(50, B));
    feed(r, square(900, B));
    EXPECT_EQ(r.noiseLevel(), 5000.0f);
    EXPECT_EQ(r.slot(WorkSlot).samples.size(), static_cast<std::size_t>(B));
    EXPECT_EQ(r.StopCapture(), 0);
    EXPECT_EQ(r.currentSlot(), -1);
}

TEST_F(Detector, LevelAtTheThresholdNeitherStartsNorEndsAWord) {
    recognise();
    feed(r, square(200, B)); // level 20000 = threshold: not loud enough to start
    EXPECT_EQ(r.state(), S_ATTENTE_ENERGIE);
    feed(r, square(201, B)); // louder
    EXPECT_EQ(r.state(), S_ATTENTE_FIN);
    feed(r, square(200, B)); // equal: still part of the word
    EXPECT_EQ(r.state(), S_ATTENTE_FIN);
    EXPECT_EQ(r.slot(WorkSlot).samples.size(), static_cast<std::size_t>(2 * B));
    feed(r, square(199, B)); // quieter: the word ends, is matched and dropped
    EXPECT_EQ(r.state(), S_ATTENTE_ENERGIE);
    EXPECT_EQ(r.slot(WorkSlot).length(), 0u);
}

TEST_F(Detector, EightLoudBuffersAndAQuietNinthAreRecognised) {
    const Samples word = concat({chirp(300, 1500, 8000, 8 * B), square(10, B)});
    record(5, word);
    ASSERT_GT(r.slot(5).frames.GetSize(), 0);
    recognise();
    feed(r, square(10, 3 * B)); // quiet lead-in replaces itself
    feed(r, word);
    EXPECT_EQ(reports.slots, std::vector<int>{5});
    EXPECT_EQ(r.state(), S_ATTENTE_ENERGIE);
}

TEST_F(Detector, NineLoudBuffersAreDroppedUntilItIsQuietEnough) {
    const Samples loud = chirp(300, 1500, 8000, 9 * B);
    record(5, concat({loud, square(10, B)}));
    recognise();
    feed(r, loud);
    EXPECT_EQ(r.state(), S_BUFFER_SATURE);
    EXPECT_EQ(r.slot(WorkSlot).length(), 0u);
    // A quarter of the level is compared: four times the threshold keeps it saturated...
    feed(r, square(800, B));
    EXPECT_EQ(r.state(), S_BUFFER_SATURE);
    EXPECT_EQ(r.slot(WorkSlot).length(), 0u); // saturated buffers are not kept
    // ...just under it ends the saturation, without a word.
    feed(r, square(799, B));
    EXPECT_EQ(r.state(), S_ATTENTE_ENERGIE);
    EXPECT_TRUE(reports.slots.empty());
}

TEST_F(Detector, LoudThenQuietBufferIsTrimmedFromBothBuffers) {
    struct Seen {
        CRecognizer* r;
        std::size_t samples = 0;
        int frames = 0;
    } seen{&r};
    const Samples word = concat({chirp(400, 900, 6000, B), square(10, B)});
    record(9, word);
    r.StartRecognition(
        [](int, void* context) {
            auto* s = static_cast<Seen*>(context);
            s->samples = s->r->slot(WorkSlot).samples.size();
            s->frames = s->r->slot(WorkSlot).frames.GetSize();
        },
        &seen);
    feed(r, word);
    // The quiet buffer is part of the slot when trimmed; the trimmed word keeps the chirp.
    EXPECT_GE(seen.samples, static_cast<std::size_t>(B - 100));
    EXPECT_LT(seen.samples, static_cast<std::size_t>(2 * B));
    EXPECT_EQ(seen.frames, FrameCount(static_cast<int>(seen.samples)));
}

TEST_F(Detector, ZeroNoiseLevelNeverEndsAWord) {
    r.StartNoiseMeasure();
    feed(r, Samples(B, 0));
    EXPECT_EQ(r.noiseLevel(), 0.0f);
    record(1, concat({chirp(300, 600, 5000, 2 * B), Samples(B, 0)}));
    recognise();
    feed(r, noise(20, 12 * B));
    EXPECT_EQ(r.state(), S_BUFFER_SATURE);
    feed(r, Samples(B, 0)); // not even silence ends saturation: 0 < 0 is false
    EXPECT_EQ(r.state(), S_BUFFER_SATURE);
    EXPECT_TRUE(reports.slots.empty());
}

TEST_F(Detector, StopWhileWaitingKeepsTheLastBufferAndReportsNothing) {
    record(2, concat({tone(500, 5000, 2 * B), square(10, B)}));
    recognise();
    feed(r, square(10, B + 7));
    r.StopCapture();
    EXPECT_EQ(r.state(), S_NO_RECON);
    EXPECT_EQ(r.slot(WorkSlot).samples.size(), 7u); // the last, partial buffer
    EXPECT_TRUE(r.slot(WorkSlot).frames.GetSize() == 0);
    EXPECT_TRUE(reports.slots.empty());
    feed(r, tone(500, 5000, B)); // after the stop nothing is processed
    EXPECT_EQ(r.slot(WorkSlot).samples.size(), 7u);
}

TEST_F(Detector, EmptyBuffersAreIgnored) {
    r.StartNoiseMeasure();
    r.onCaptureBuffer(nullptr, 0);
    EXPECT_EQ(r.state(), S_ENREG_BRUIT);
    EXPECT_EQ(r.noiseLevel(), 10000.0f);
}

TEST_F(Detector, WordRecordingLengthsAroundTheShortestWord) {
    r.StartWordRecording(3);
    EXPECT_EQ(r.state(), S_ENREG_MOTS);
    r.StopCapture(); // nothing captured
    EXPECT_EQ(r.slot(3).length(), 0u);
    EXPECT_EQ(r.slot(3).frames.GetSize(), 0);

    r.StartWordRecording(3);
    feed(r, tone(500, 5000, 2048));
    r.StopCapture(); // too short to trim: discarded
    EXPECT_EQ(r.slot(3).length(), 0u);
    EXPECT_EQ(r.slot(3).frames.GetSize(), 0);

    r.StartWordRecording(3);
    feed(r, tone(500, 5000, 2049));
    r.StopCapture();
    EXPECT_EQ(r.slot(3).length(), 2u * 2048);
    EXPECT_EQ(r.slot(3).frames.GetSize(), 1);

    r.StartWordRecording(3); // a new recording empties the slot first
    EXPECT_EQ(r.slot(3).length(), 0u);
    r.StartWordRecording(84); // not a word slot
    EXPECT_EQ(r.currentSlot(), 3);
}

TEST_F(Detector, PlayWordStopsCaptureWithoutTrimming) {
    r.StartWordRecording(4);
    feed(r, tone(500, 5000, 3 * B));
    EXPECT_EQ(r.PlayWord(4), 0); // the untrimmed recording is there
    EXPECT_EQ(r.state(), S_NO_RECON);
    EXPECT_EQ(r.slot(4).samples.size(), static_cast<std::size_t>(3 * B));
    EXPECT_EQ(r.slot(4).frames.GetSize(), 0);
    EXPECT_EQ(r.PlayWord(86), -1);
    EXPECT_EQ(r.PlayWord(-1), -1);
}

TEST_F(Detector, PlayWordOfAnEmptySlotSucceedsAndStillStopsRecognition) {
    recognise();
    feed(r, square(300, B)); // a word under way
    ASSERT_EQ(r.state(), S_ATTENTE_FIN);
    // Every slot 0..85 exists; an empty one plays nothing but is no failure.
    EXPECT_EQ(r.PlayWord(6), 0);
    EXPECT_EQ(r.state(), S_NO_RECON);
    EXPECT_EQ(r.currentSlot(), -1);
    EXPECT_EQ(r.PlayWord(85), 0);
    feed(r, square(10, B)); // recognition does not resume by itself
    EXPECT_EQ(r.state(), S_NO_RECON);
    EXPECT_TRUE(reports.slots.empty());
}

TEST_F(Detector, CandidatesDecideWhichTemplatesAreMatched) {
    const Samples word = concat({chirp(300, 1500, 8000, 2 * B), square(10, B)});
    record(5, word);
    record(6, word); // the same word twice: the lower slot wins the tie
    recognise();
    feed(r, word);
    EXPECT_EQ(reports.slots, std::vector<int>{5});
    r.SetCandidate(5, false);
    feed(r, word);
    r.SetCandidate(6, false);
    feed(r, word);
    EXPECT_EQ(reports.slots, (std::vector<int>{5, 6}));
    r.SetCandidate(84, true); // out of range: ignored
    EXPECT_FALSE(r.isCandidate(84));
}

} // namespace
} // namespace tessimo
