// Sound input while the program has no microphone capture: every capture request does
// nothing, no word is ever recognised, no recorded word exists to play, and no template file
// is read or written. Record and Recognize still run under their rules and hear nothing.
// User-interface thread only.
#pragma once

#include "recognition/RecognizerEntryPoints.h"

namespace tessimo {

class SilentRecognizer final : public RecognizerEntryPoints {
public:
    void StartNoiseMeasure() override {}
    void StartWordRecording(int) override {}
    void StartRecognition(RecognitionCallback, void*) override {}
    int StopCapture() override { return 0; }
    void SetCandidate(int, bool) override {}
    int PlayWord(int) override { return -1; }
    void StopWordPlayback() override {}
    void ResetTemplates() override {}
    // Nothing was captured, so there is nothing to write; an existing file is left alone.
    int SaveTemplates(const std::string&) override { return -1; }
    int LoadTemplates(const std::string&,
                      std::array<std::uint8_t, TemplateSlotCount>& present) override {
        present.fill(0);
        return -1;
    }
};

} // namespace tessimo
