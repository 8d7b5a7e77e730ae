// The recogniser: the 86 word slots, the candidate flags, the noise level, the word detector
// and the matching of detected words against the templates.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "recognition/CaptureDevice.h"
#include "recognition/DetectorState.h"
#include "recognition/RecognitionPath.h"
#include "recognition/RecognizerEntryPoints.h"
#include "recognition/TemplateSpread.h"
#include "recognition/WordDecision.h"
#include "recognition/WordOutput.h"
#include "recognition/WordSlot.h"

namespace tessimo {

class AdaptiveRecognizer;

// Threads. The entry points and the inspection methods run on the user-interface thread;
// onCaptureBuffer (and through it DetectorStep, TrimAndAnalyse, MatchWord and the
// RecognitionCallback) runs on the capture thread (not real time). There is no lock: the
// user-interface thread touches the slots, the detector state, the noise level and the callback
// only while capture is stopped, and every entry point that needs them stops capture first
// (CaptureDevice::stop waits for the last buffer): the start entry points, StopCapture, PlayWord,
// and SaveTemplates and LoadTemplates, which end a capture in progress as StopCapture does. The
// candidate flags are atomics, so SetCandidate is safe while recognition runs; a change applies
// from the next word on.
//
// Without a capture device, the start entry points only change the detector state and no
// buffer arrives unless a caller (a test, the command-line tool) feeds onCaptureBuffer itself,
// on one thread with the entry points.
//
// Word playback goes to a WordOutput (the program's sound output), which copies the samples
// before PlayWord returns; without one PlayWord plays nothing.
class CRecognizer final : public RecognizerEntryPoints, private CaptureSink {
public:
    // capture may be null (no device: deaf), output null (mute); both must outlive the
    // recogniser.
    explicit CRecognizer(CaptureDevice* capture = nullptr, WordOutput* output = nullptr);
    ~CRecognizer() override;
    CRecognizer(const CRecognizer&) = delete;
    CRecognizer& operator=(const CRecognizer&) = delete;

    void StartNoiseMeasure() override;
    void StartWordRecording(int slot) override;
    void StartRecognition(RecognitionCallback callback, void* context) override;
    int StopCapture() override;
    void SetCandidate(int slot, bool candidate) override;
    bool HasTemplate(int slot) const override;
    // Stops capture without trimming and plays the slot's samples; returns -1 for a slot
    // outside 0..85, else 0 (an empty slot, which plays nothing, included).
    int PlayWord(int slot) override;
    void StopWordPlayback() override;
    int SaveTemplates(const std::string& path) override;
    int LoadTemplates(const std::string& path,
                      std::array<std::uint8_t, TemplateSlotCount>& present) override;
    void ResetTemplates() override;
    // True on the adaptive path, whose pitch tracker names instrument notes.
    bool NamesUnrecordedPitches() const override { return path_ == RecognitionPath::Adaptive; }

    // One filled capture buffer of count samples through the detector. Capture thread (or the
    // thread of the entry points when there is no capture device). Allocates nothing in
    // recognition once the work slot has held its largest word; a word recording grows its slot.
    void onCaptureBuffer(const std::int16_t* samples, std::size_t count) override;

    // Empties a slot 0..85: no samples, no frames. Capture stopped.
    void ResetSlot(int slot);
    // Cuts the silence off both ends of the slot's samples and appends the word's frames; a
    // recording under 2049 samples is discarded (the slot is emptied). Capture thread, or
    // user-interface thread with capture stopped.
    void TrimAndAnalyse(int slot);
    // Matches the work slot against every candidate template and reports the best one through
    // the callback when its distance is at most 20000; ties go to the lower slot. Same
    // threads as TrimAndAnalyse.
    void MatchWord();

    // Inspection, user-interface thread with capture stopped (or the feeding thread).
    DetectorState state() const { return state_; }
    float noiseLevel() const { return noiseLevel_; }
    void setNoiseLevel(float level) { noiseLevel_ = level; }
    int currentSlot() const { return currentSlot_; }
    const WordSlot& slot(int index) const { return slots_[static_cast<std::size_t>(index)]; }
    bool isCandidate(int slot) const;

    // ---- The adaptive path ----
    // Chooses the path of the next recognitions and word recordings (documented by default).
    // With the adaptive path, StartRecognition listens to the room first
    // (AdaptiveCalibrationMilliseconds), words are judged against limits taken from the
    // templates and instrument notes are named by their pitch; a recording is cut where the
    // adaptive detector finds the word. Template files are the same for both paths.
    // User-interface thread, capture stopped (a capture in progress is stopped first).
    void setRecognitionPath(RecognitionPath path);
    RecognitionPath recognitionPath() const { return path_; }
    // Called on the capture thread for every word the adaptive path heard but did not judge,
    // so the game can ask for it again; with context, or without one the context of
    // StartRecognition. User-interface thread, capture stopped.
    using SayAgainCallback = void (*)(void* context);
    void setSayAgainCallback(SayAgainCallback callback, void* context = nullptr) {
        sayAgain_ = callback;
        sayAgainContext_ = context;
    }
    // The recorded words that lie too close together to be told apart reliably, by the
    // adaptive path's limits, closest first. User-interface thread, capture stopped.
    std::vector<ConfusablePair> ConfusableWords() const override;
    // The adaptive path's state (for the command-line tool). User-interface thread.
    const AdaptiveRecognizer& adaptive() const { return *adaptive_; }
    // The verdict on the last word the adaptive path judged; on the capture thread during
    // the callbacks, else with capture stopped.
    const WordDecision& lastDecision() const { return lastDecision_; }

private:
    void AdaptiveStep(const std::int16_t* samples, std::size_t count);
    void AdaptiveTrim(int slot);

    void DetectorStep(const std::int16_t* samples, std::size_t count);
    void stopDevice();
    void startDevice();
    void start(DetectorState state);

    CaptureDevice* capture_;
    WordOutput* output_;
    bool capturing_ = false; // user-interface thread only: between a start and a stop
    DetectorState state_ = S_NO_RECON;
    float noiseLevel_ = 0.0f;
    RecognitionCallback callback_ = nullptr;
    void* context_ = nullptr;
    int currentSlot_ = -1;
    std::array<WordSlot, WordSlotCount> slots_;
    std::array<std::atomic<std::uint8_t>, TemplateSlotCount> candidates_{};

    RecognitionPath path_ = RecognitionPath::Documented;
    std::unique_ptr<AdaptiveRecognizer> adaptive_;
    SayAgainCallback sayAgain_ = nullptr;
    void* sayAgainContext_ = nullptr;
    WordDecision lastDecision_;
};

} // namespace tessimo
