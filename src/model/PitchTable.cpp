#include "model/PitchTable.h"

#include "model/Durations.h"
#include "model/Pitch.h"

namespace tessimo {

PitchTable::PitchTable() {
    loadTemplateFlags({});
}

void PitchTable::loadTemplateFlags(const std::array<std::uint8_t, TemplateSlotCount>& present) {
    for (int i = 0; i < EntryCount; ++i) {
        CNote& entry = entries_[static_cast<std::size_t>(i)];
        entry.hasTemplate =
            i < TemplateSlotCount ? (present[static_cast<std::size_t>(i)] ? 1 : 0) : 0;
        entry.pitch = static_cast<std::uint8_t>(i);
        entry.selected = 0;
        entry.durationCode = QuarterCode;
    }
}

void PitchTable::rebuildSelection(const SettingsRecord& settings, TemplateStore& recognizer) {
    for (int i = 0; i <= HighestPitch; ++i) {
        CNote& entry = (*this)[i];
        entry.wordActive = 0;
        recognizer.SetCandidate(i, false);
        if (i >= LowestPitch) {
            entry.selected = 0;
        }
    }
    selectedCount_ = 0;
    wordCount_ = 0;

    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        if (settings.notes[static_cast<std::size_t>(p - LowestPitch)] == 0) {
            continue;
        }
        if (settings.soundMode == Voice && isBlackKey(p)) {
            continue;
        }
        CNote& entry = (*this)[p];
        entry.selected = 1;
        if (settings.soundMode == Instrument) {
            entry.wordActive = 1;
            entry.wordIndex = static_cast<std::uint8_t>(p);
            recognizer.SetCandidate(p, true);
            ++wordCount_;
        } else if (settings.soundMode == Voice) {
            const int c = pitchClass(p);
            if ((*this)[c].wordActive == 0) {
                for (int slot = c; slot < VoiceWordCount; slot += PitchesPerOctave) {
                    CNote& word = (*this)[slot];
                    word.wordActive = 1;
                    word.wordIndex = static_cast<std::uint8_t>(slot);
                    word.pitch = static_cast<std::uint8_t>(p);
                    recognizer.SetCandidate(slot, true);
                }
                wordCount_ += 3;
            }
            entry.wordIndex = static_cast<std::uint8_t>(c);
        }
        ++selectedCount_;
    }
}

void PitchTable::assignStaffY(const std::function<int(int pitch)>& pitchY) {
    for (int i = 0; i < VoiceWordCount; ++i) {
        CNote& entry = (*this)[i];
        // Words that were never given a pitch of the range have no place on the staff.
        if (isInRange(entry.pitch)) {
            entry.staffY = pitchY(entry.pitch);
        }
    }
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        (*this)[p].staffY = pitchY(p);
    }
}

const CNote* PitchTable::nthSelected(int n) const {
    if (n < 0) {
        return nullptr;
    }
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        if ((*this)[p].selected != 0 && n-- == 0) {
            return &(*this)[p];
        }
    }
    return nullptr;
}

const CNote* PitchTable::nthWord(int n, int soundMode) const {
    if (n < 0) {
        return nullptr;
    }
    const int first = soundMode == Voice ? 0 : LowestPitch;
    const int last = soundMode == Voice ? VoiceWordCount - 1 : HighestPitch;
    for (int i = first; i <= last; ++i) {
        if ((*this)[i].wordActive != 0 && n-- == 0) {
            return &(*this)[i];
        }
    }
    return nullptr;
}

bool PitchTable::isSelected(int pitch) const {
    return isInRange(pitch) && (*this)[pitch].selected != 0;
}

bool PitchTable::allRecorded() const {
    if (selectedCount_ <= 0) {
        return false;
    }
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        const CNote& entry = (*this)[p];
        if (entry.selected != 0 && (*this)[entry.wordIndex].hasTemplate == 0) {
            return false;
        }
    }
    return true;
}

} // namespace tessimo
