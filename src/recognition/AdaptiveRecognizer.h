// The adaptive recognition path: the detector against a tracked noise floor, the matching
// with normalised features and limits taken from the user's templates, and the pitch tracker
// for instrument notes. It owns no templates; it reads the recogniser's slots.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "recognition/AdaptiveDetector.h"
#include "recognition/PitchTracker.h"
#include "recognition/RecognizerEntryPoints.h"
#include "recognition/TemplateSpread.h"
#include "recognition/WordDecision.h"
#include "recognition/WordFeatures.h"
#include "recognition/WordSlot.h"

namespace tessimo {

class AdaptiveRecognizer {
public:
    AdaptiveRecognizer(); // allocates everything recognition needs

    // Takes in the templates (their features and limits). Thread of the entry points, with
    // capture stopped.
    void prepare(const std::array<WordSlot, WordSlotCount>& slots) { templates_.prepare(slots); }

    // Starts a recognition: the first buffers measure the room ("Quiet please"). Thread of
    // the entry points, with capture stopped.
    void start() { detector_.restart(); }
    bool calibrating() const { return !detector_.calibrated(); }

    // Feeds captured samples; onDecision(const WordDecision&) is called for every word that
    // ends. Capture thread; allocates nothing.
    template <typename OnDecision>
    void feed(const std::int16_t* x, std::size_t count,
              const std::array<std::uint8_t, TemplateSlotCount>& candidate,
              OnDecision&& onDecision) {
        detector_.feed(x, count, [&](const std::int16_t* word, std::size_t n) {
            onDecision(decide(word, n, candidate));
        });
    }
    template <typename OnDecision>
    void flush(const std::array<std::uint8_t, TemplateSlotCount>& candidate,
               OnDecision&& onDecision) {
        detector_.flush([&](const std::int16_t* word, std::size_t n) {
            onDecision(decide(word, n, candidate));
        });
    }

    // Judges one word of n samples against the candidates. Capture thread (or any single
    // thread that owns this object); allocates nothing for words the detector can hand over.
    WordDecision decide(const std::int16_t* word, std::size_t n,
                        const std::array<std::uint8_t, TemplateSlotCount>& candidate);

    const TemplateSpread& templates() const { return templates_; }
    const AdaptiveDetector& detector() const { return detector_; }

private:
    AdaptiveDetector detector_;
    TemplateSpread templates_;
    PitchTracker pitch_;
    WordFeatures features_;
};

// Where the word of a recording lies, by the adaptive detector run over it with the floor
// that the noise measurement gave (noiseLevel as the template file stores it): from the start
// of the first word it finds (pre-roll included) to the end of the last. found is false when
// it finds none. Thread of the caller; allocates.
struct RecordingSpan {
    bool found = false;
    int start = 0;
    int end = 0;
};
RecordingSpan FindRecordedWord(const std::int16_t* samples, int count, float noiseLevel);

// The detector's floor, in dB, of a room whose noise measured noiseLevel (100 times the mean
// absolute sample value). Any thread.
float FloorDbOfNoiseLevel(float noiseLevel);

} // namespace tessimo
