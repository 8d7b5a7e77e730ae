#include "recognition/AdaptiveRecognizer.h"

#include <cmath>

#include "recognition/DetectorState.h"
#include "recognition/FrameAnalysis.h"

namespace tessimo {
namespace {

constexpr float AgreeShareOfBetween = 0.5f;

bool anyInstrumentCandidate(const std::array<std::uint8_t, TemplateSlotCount>& candidate) {
    for (int s = 36; s < TemplateSlotCount; ++s) {
        if (candidate[static_cast<std::size_t>(s)] != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

AdaptiveRecognizer::AdaptiveRecognizer() {
    WindowTable();
    ReserveFeatures(features_, MaxFeatureFrames);
}

WordDecision
AdaptiveRecognizer::decide(const std::int16_t* word, std::size_t n,
                           const std::array<std::uint8_t, TemplateSlotCount>& candidate) {
    WordDecision decision;
    ComputeFeatures(word, static_cast<int>(n), features_);
    FloorToRoom(features_);
    decision.match = templates_.match(features_, candidate);

    if (!anyInstrumentCandidate(candidate)) {
        if (decision.match.accepted) {
            decision.slot = decision.match.slot;
        }
        return decision;
    }
    // An instrument note: the pitch tracker names it. Recordings have a say only when they
    // recognise the sound: when the best template lies within the accepting distance (how far
    // a sound may lie from a recording of its own and still be that recording). A sound
    // farther from every recording, another instrument than the one recorded for instance,
    // tells the templates nothing about its pitch, and the tracker names it alone. A
    // recognised sound whose recording is not the tracker's pitch must not contradict it:
    // that pitch's recording may lie further from the sound than the best template by at
    // most half the usual distance between neighbouring recordings (neighbouring semitones
    // of one instrument lie close together, so the templates alone cannot tell them apart;
    // what they can tell is a sound unlike the recording), or the answer is "say again".
    // Without a pitch, the templates alone decide, within their limits.
    const int pitch = pitch_.note(word, n);
    decision.pitch = pitch >= 0 && candidate[static_cast<std::size_t>(pitch)] != 0 ? pitch : -1;
    if (decision.pitch < 0) {
        if (decision.match.accepted && decision.match.slot >= 36) {
            decision.slot = decision.match.slot;
        }
        return decision;
    }
    if (!templates_.hasTemplate(decision.pitch) || !decision.match.nearEnough ||
        decision.match.slot == decision.pitch) {
        decision.slot = decision.pitch;
        return decision;
    }
    const float own = templates_.distanceTo(features_, decision.pitch);
    const SpreadLimits& limits = templates_.limits(decision.pitch);
    if (own - decision.match.distance <= AgreeShareOfBetween * limits.between) {
        decision.slot = decision.pitch;
    }
    return decision;
}

float FloorDbOfNoiseLevel(float noiseLevel) {
    // Mean absolute value to root mean square, as for noise with a normal distribution.
    const double rms = noiseLevel / 100.0 * std::sqrt(3.14159265358979 / 2.0);
    return static_cast<float>(10.0 * std::log10(rms * rms + 1.0));
}

RecordingSpan FindRecordedWord(const std::int16_t* samples, int count, float noiseLevel) {
    AdaptiveDetector detector;
    detector.restartWithFloor(FloorDbOfNoiseLevel(noiseLevel));
    RecordingSpan span;
    std::size_t fed = 0;
    auto onWord = [&](const std::int16_t* word, std::size_t n) {
        // The word's samples are a copy; find where they start by their distance from the
        // end of what was fed, which the detector reports through the block that ended it.
        const auto start = static_cast<int>(detector.lastWordStart());
        if (!span.found) {
            span.start = start;
        }
        span.end = start + static_cast<int>(n);
        span.found = true;
        (void)word;
    };
    const std::size_t total = static_cast<std::size_t>(count);
    while (fed < total) {
        const std::size_t n = std::min<std::size_t>(CaptureBufferSamples, total - fed);
        detector.feed(samples + fed, n, onWord);
        fed += n;
    }
    detector.flush(onWord);
    if (span.found) {
        span.end = std::min(span.end, count);
        if (span.end - span.start < FrameLength) { // one frame at least, within the recording
            span.end = std::min(count, span.start + FrameLength);
            span.start = std::max(0, span.end - FrameLength);
        }
    }
    return span;
}

} // namespace tessimo
