// The recogniser's boundary, second part: the recorded templates, which of them may be
// recognised, and their file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "recognition/ConfusablePair.h"
#include "recognition/WordSlotNumbers.h"

namespace tessimo {

class TemplateStore {
public:
    virtual ~TemplateStore() = default;

    // Sets or clears whether slot (0..83) may be recognised. User-interface thread.
    virtual void SetCandidate(int slot, bool candidate) = 0;

    // Whether slot (0..83) holds a template: after StopCapture, whether the recording made a
    // word (a silent or too short one leaves the slot empty). User-interface thread, capture
    // stopped.
    virtual bool HasTemplate(int slot) const = 0;

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

    // The pairs of recorded words so close together that one may be heard as the other, the
    // closest first; a store that cannot tell gives none. User-interface thread, capture
    // stopped.
    virtual std::vector<ConfusablePair> ConfusableWords() const { return {}; }
};

} // namespace tessimo
