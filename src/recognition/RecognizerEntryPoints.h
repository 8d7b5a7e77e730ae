// The boundary through which the game and the shell reach sound input, the voice templates
// and the playback of recorded words.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tessimo {

// Word slots: 0..35 spoken note names (slots c, c + 12, c + 24 for pitch class c),
// 36..83 pitches played on an instrument, 84 the word being detected and the noise recording,
// 85 allocated and never used.
inline constexpr int TemplateSlotCount = 84;
inline constexpr int WorkSlot = 84;
inline constexpr int WordSlotCount = 86;

// Called once per accepted word with the slot of the best-matching template, on the capture
// thread (not real time). The receiver hands the slot over to the user-interface thread.
using RecognitionCallback = void (*)(int slot, void* context);

class RecognizerEntryPoints {
public:
    virtual ~RecognizerEntryPoints() = default;

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

    // Sets or clears whether slot (0..83) may be recognised. User-interface thread.
    virtual void SetCandidate(int slot, bool candidate) = 0;

    // Whether slot (0..83) holds a template: after StopCapture, whether the recording made a
    // word (a silent or too short one leaves the slot empty). User-interface thread, capture
    // stopped.
    virtual bool HasTemplate(int slot) const = 0;

    // Stops capture without trimming and plays the slot's samples, cutting off a word already
    // playing; an empty slot plays nothing and leaves a word already playing alone. Returns -1
    // for a slot outside 0..85, else 0.
    // User-interface thread.
    virtual int PlayWord(int slot) = 0;

    // Stops a word playback in progress. User-interface thread.
    virtual void StopWordPlayback() = 0;

    // Writes the noise level and every template to path. Returns -1 when the file cannot be
    // written, else 0. User-interface thread.
    virtual int SaveTemplates(const std::string& path) = 0;

    // Reads the templates of path into their slots and sets present[slot] for each slot read.
    // Returns -1 when the file cannot be opened or is not a valid template file (all present
    // flags 0, nothing else changes), else 0. User-interface thread.
    virtual int LoadTemplates(const std::string& path,
                              std::array<std::uint8_t, TemplateSlotCount>& present) = 0;

    // Empties every template slot 0..83 (samples and frames), ending a capture in progress
    // first. The noise level and the candidate flags stay. Called before another user's
    // templates are loaded, so that no word of the previous user is matched or saved as the
    // new user's. User-interface thread.
    virtual void ResetTemplates() = 0;

    // Whether a note played on an instrument can be named with no recording of its pitch (the
    // recogniser follows the pitch itself), so that Record is optional there. User-interface
    // thread.
    virtual bool NamesUnrecordedPitches() const { return false; }
};

} // namespace tessimo
