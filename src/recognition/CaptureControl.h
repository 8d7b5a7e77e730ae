// The recogniser's boundary, first part: starting and stopping what is done with sound input
// (the noise measure, the recording of a word, recognition).
#pragma once

namespace tessimo {

// Called once per accepted word with the slot of the best-matching template, on the capture
// thread (not real time). The receiver hands the slot over to the user-interface thread.
using RecognitionCallback = void (*)(int slot, void* context);

class CaptureControl {
public:
    virtual ~CaptureControl() = default;

    // Starts capture; the next filled buffer sets the background noise level, later buffers
    // are ignored until the next start or stop. User-interface thread.
    virtual void StartNoiseMeasure() = 0;

    // Empties slot (0..83) and appends everything captured to it until StopCapture.
    // User-interface thread.
    virtual void StartWordRecording(int slot) = 0;

    // Matches every word detected in the input against the candidate templates and reports
    // each accepted one through callback, until StopCapture. User-interface thread.
    virtual void StartRecognition(RecognitionCallback callback, void* context) = 0;

    // Stops capture; a word being recorded is trimmed and analysed into a template.
    // Returns 0. User-interface thread.
    virtual int StopCapture() = 0;
};

} // namespace tessimo
