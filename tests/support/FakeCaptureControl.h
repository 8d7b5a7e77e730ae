// Capture control for tests: records every call and lets the test deliver recognised words.
#pragma once

#include "recognition/CaptureControl.h"
#include "support/FakeCallLog.h"

namespace tessimo::testing {

class FakeCaptureControl : public virtual CaptureControl, public virtual FakeCallLog {
public:
    RecognitionCallback callback = nullptr;
    void* context = nullptr;
    bool capturing = false;
    int recordingSlot = -1; // the slot being recorded, or -1

    void StartNoiseMeasure() override {
        calls.push_back({"StartNoiseMeasure", 0});
        capturing = true;
    }
    void StartWordRecording(int slot) override {
        calls.push_back({"StartWordRecording", slot});
        capturing = true;
        recordingSlot = slot;
    }
    void StartRecognition(RecognitionCallback cb, void* ctx) override {
        calls.push_back({"StartRecognition", 0});
        callback = cb;
        context = ctx;
        capturing = true;
    }
    int StopCapture() override {
        calls.push_back({"StopCapture", 0});
        endCapture();
        callback = nullptr;
        return 0;
    }

    // Delivers a recognised word as the capture thread would (here on the calling thread).
    // Returns false when recognition is not running.
    bool recognise(int slot) {
        if (callback == nullptr) {
            return false;
        }
        callback(slot, context);
        return true;
    }

protected:
    // Capture ends without a call of StopCapture (a word played back, the templates emptied).
    void endCapture() {
        capturing = false;
        recordingSlot = -1;
    }
};

} // namespace tessimo::testing
