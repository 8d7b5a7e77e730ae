// The view's table of 100 notes: entries 36..83 stand for the pitches of the exercise range,
// entries 0..35 for the spoken note names of the Voice sound mode (three recordings per pitch
// class), entries 84..99 for nothing. It says which pitches take part in the exercise and which
// recogniser words stand for them. User-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "model/CNote.h"
#include "model/SettingsRecord.h"
#include "recognition/TemplateStore.h"

namespace tessimo {

class PitchTable {
public:
    static constexpr int EntryCount = 100;
    static constexpr int VoiceWordCount = 36;

    PitchTable();

    // Refreshes every entry from the template store's present flags (one per slot 0..83):
    // hasTemplate = the flag (0 for 84..99), pitch = the index, selected = 0, quarter note.
    void loadTemplateFlags(const std::array<std::uint8_t, TemplateSlotCount>& present);

    // Rebuilds the selection and the recogniser vocabulary from the settings and tells the
    // recogniser which slots may be recognised. With Voice only natural pitches are selected,
    // and each natural pitch class is one word recorded three times (slots c, c+12, c+24).
    void rebuildSelection(const SettingsRecord& settings, TemplateStore& recognizer);

    // Stores staffY of every entry that stands for a pitch of the range: entries 0..35 from
    // their own pitch (when it is one of the range), entries 36..83 from their index.
    void assignStaffY(const std::function<int(int pitch)>& pitchY);

    // The n-th selected entry among 36..83 (from 0, upward), or nullptr.
    const CNote* nthSelected(int n) const;

    // The n-th vocabulary word: among entries 0..35 with Voice, 36..83 otherwise; or nullptr.
    const CNote* nthWord(int n, int soundMode) const;

    // Whether pitch lies in 36..83 and its entry is selected.
    bool isSelected(int pitch) const;

    // Every selected pitch's word holds a template (and at least one pitch is selected).
    bool allRecorded() const;

    CNote& operator[](int i) { return entries_[static_cast<std::size_t>(i)]; }
    const CNote& operator[](int i) const { return entries_[static_cast<std::size_t>(i)]; }

    int selectedCount() const { return selectedCount_; }
    int wordCount() const { return wordCount_; }

private:
    std::array<CNote, EntryCount> entries_{};
    int selectedCount_ = 0;
    int wordCount_ = 0;
};

} // namespace tessimo
