// A recogniser for tests: the fakes of its three parts in one object with one call log, plus
// what ties the parts together in the real one: a recording that ends becomes a template, and
// playing a word or emptying the templates ends capture.
#pragma once

#include "recognition/RecognizerEntryPoints.h"
#include "support/FakeCaptureControl.h"
#include "support/FakeTemplateStore.h"
#include "support/FakeWordPlayer.h"

namespace tessimo::testing {

class FakeRecognizer : public RecognizerEntryPoints,
                       public FakeCaptureControl,
                       public FakeTemplateStore,
                       public FakeWordPlayer {
public:
    int StopCapture() override {
        const int slot = recordingSlot;
        FakeCaptureControl::StopCapture();
        if (slot >= 0) {
            recorded(slot);
        }
        return 0;
    }
    int PlayWord(int slot) override {
        const int result = FakeWordPlayer::PlayWord(slot);
        endCapture();
        return result;
    }
    void ResetTemplates() override {
        FakeTemplateStore::ResetTemplates();
        endCapture();
    }
};

} // namespace tessimo::testing
