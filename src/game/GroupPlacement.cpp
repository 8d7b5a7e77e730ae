#include "game/GroupPlacement.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "game/GroupRules.h"
#include "game/GroupShape.h"
#include "model/CNotesList.h"
#include "model/ChordTable.h"
#include "model/NoteNames.h"
#include "model/Pitch.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

namespace tessimo {

namespace {
constexpr int NoInterval = 99;
} // namespace

CNote* GroupPlacement::reference() {
    for (CNote& note : group_) {
        if (note.isReference != 0) {
            return &note;
        }
    }
    return &group_.back();
}

bool GroupPlacement::needsSelectedPitch() const {
    if (group_.empty()) {
        return false;
    }
    for (const CNote& note : group_) {
        if (note.isReference != 0) {
            return note.pitch != group_.front().pitch;
        }
    }
    return group_.back().pitch != group_.front().pitch;
}

void GroupPlacement::takeQuestionShape() {
    if (group_.empty()) {
        return;
    }
    if (kind_ == GroupKind::Chord) {
        shape_.chosenChord = shape_.shownChord = identifyChord(group_);
    } else if (group_.size() >= 2) {
        shape_.chosenInterval = shape_.shownInterval = group_[1].pitch - group_[0].pitch;
    }
    storeSpread();
}

void GroupPlacement::storeSpread() {
    if (group_.empty()) {
        return;
    }
    int lowest = group_.front().x;
    int highest = lowest;
    for (const CNote& note : group_) {
        lowest = std::min(lowest, note.x);
        highest = std::max(highest, note.x);
    }
    shape_.spread = highest - lowest;
}

void GroupPlacement::updateText() {
    if (group_.empty()) {
        return;
    }
    if (kind_ == GroupKind::Interval) {
        const CNote* ref = &group_.front();
        for (const CNote& note : group_) {
            if (note.isReference != 0) {
                ref = &note;
                break;
            }
        }
        char text[32];
        std::snprintf(text, sizeof text, "%s %+d/2", ref->name(settings_.namingConvention),
                      shape_.shownInterval);
        shape_.text = text;
        return;
    }
    int low = HighestPitch;
    for (const CNote& note : group_) {
        low = std::min<int>(low, note.pitch);
    }
    const int row = std::clamp(shape_.shownChord, 0, ChordTypeCount - 1);
    shape_.text = std::string(noteName(low, settings_.namingConvention)) + " " +
                  ChordTable[static_cast<std::size_t>(row)].name;
}

void GroupPlacement::rebuildChord(int row, int base, bool descending, std::uint8_t durationCode,
                                  int firstX, int lastX, int divisor) {
    const ChordRow& chord = ChordTable[static_cast<std::size_t>(row)];
    CNote model = group_.front();
    std::array<int, 24> pitches{};
    int n = 0;
    for (int j = 0; j <= chord.span; ++j) {
        if (chord.halfTones[static_cast<std::size_t>(j)] != 0) {
            pitches[static_cast<std::size_t>(n++)] = base + j;
        }
    }
    if (descending) {
        std::reverse(pitches.begin(), pitches.begin() + n);
    }
    group_.removeAll();
    for (int k = 0; k < n; ++k) {
        const int pitch = pitches[static_cast<std::size_t>(k)];
        CNote note = model;
        note.pitch = static_cast<std::uint8_t>(pitch);
        note.staffY = table_[pitch].staffY;
        note.groupIndex = static_cast<std::uint8_t>(k);
        note.durationCode = durationCode;
        note.isReference = pitch == base ? 1 : 0;
        note.barStart = k == 0 ? model.barStart : 0;
        group_.appendAt(note, divisor > 0 ? firstX + (lastX - firstX) * k / divisor : firstX);
    }
}

bool GroupPlacement::moveTo(int p) {
    if (group_.empty() || (dictation_ && settings_.dragWithMouse == 0)) {
        return false;
    }
    const CNote& first = group_.front();
    const int offset = reference()->pitch - first.pitch;
    if (!isInRange(p) || (offset != 0 && !table_.isSelected(p))) {
        return false;
    }
    const int target = p + offset;
    if (!table_.isSelected(target)) {
        return false;
    }
    const int delta = p - first.pitch;
    if (delta == 0) {
        return false;
    }
    // A plain shift must keep every note of the group inside the range.
    bool shiftStaysInRange = true;
    for (const CNote& note : group_) {
        shiftStaysInRange = shiftStaysInRange && isInRange(note.pitch + delta);
    }
    const bool moved = kind_ == GroupKind::Interval ? moveInterval(target, shiftStaysInRange, delta)
                                                    : moveChord(target, shiftStaysInRange, delta);
    if (moved) {
        wrong_.removeAll();
        updateText();
    }
    return moved;
}

// Every note of the group moves by delta half-tones; the shape stays.
void GroupPlacement::shift(int delta) {
    for (CNote& note : group_) {
        note.pitch = static_cast<std::uint8_t>(note.pitch + delta);
        note.staffY = table_[note.pitch].staffY;
    }
}

bool GroupPlacement::moveInterval(int target, bool shiftStaysInRange, int delta) {
    if (group_.size() != 2) {
        return false;
    }
    if (shiftStaysInRange && intervalFits(settings_, table_, target, shape_.shownInterval) &&
        shape_.shownInterval == shape_.chosenInterval) {
        shift(delta);
        return true;
    }
    int found = NoInterval;
    for (int n = shape_.chosenInterval; n <= 12 && found == NoInterval; ++n) {
        if (intervalFits(settings_, table_, target, n)) {
            found = n;
        }
    }
    for (int n = shape_.chosenInterval - 1; n >= -12 && found == NoInterval; --n) {
        if (intervalFits(settings_, table_, target, n)) {
            found = n;
        }
    }
    if (found == NoInterval) {
        return false;
    }
    shape_.shownInterval = found;
    CNote* ref = reference();
    CNote& other = ref == &group_[0] ? group_[1] : group_[0];
    ref->pitch = static_cast<std::uint8_t>(target);
    ref->staffY = table_[target].staffY;
    other.pitch = static_cast<std::uint8_t>(target + found);
    other.staffY = table_[target + found].staffY;
    return true;
}

// Whether chord row can stand on base; an arpeggio in Chords Dictation (countMatters) also
// keeps its number of notes.
bool GroupPlacement::chordRowFits(int base, int row, bool countMatters) const {
    return chordFits(settings_, table_, base, row) &&
           (!countMatters ||
            ChordTable[static_cast<std::size_t>(row)].noteCount == static_cast<int>(group_.size()));
}

bool GroupPlacement::moveChord(int target, bool shiftStaysInRange, int delta) {
    if (shiftStaysInRange && chordFits(settings_, table_, target, shape_.shownChord) &&
        shape_.shownChord == shape_.chosenChord) {
        shift(delta);
        return true;
    }
    const bool arpeggio = group_.size() >= 2 && group_[0].x != group_[1].x;
    const bool countMatters = arpeggio && dictation_;
    int found = -1;
    for (int i = 0; i < ChordSlotCount && found < 0; ++i) {
        const int row = (shape_.chosenChord + i) % ChordSlotCount;
        if (chordRowFits(target, row, countMatters)) {
            found = row;
        }
    }
    if (found < 0) {
        return false;
    }
    shape_.shownChord = found;
    const bool descending = group_.size() >= 2 && group_[0].pitch > group_[1].pitch;
    const int rowNotes = ChordTable[static_cast<std::size_t>(found)].noteCount;
    rebuildChord(found, target, descending, group_.front().durationCode, group_.front().x,
                 group_.back().x, rowNotes - 1);
    return true;
}

bool GroupPlacement::wheel(int delta) {
    if (group_.empty() || delta == 0 || (dictation_ && settings_.wheelChangesType == 0)) {
        return false;
    }
    wrong_.removeAll();
    return kind_ == GroupKind::Interval ? wheelInterval(delta) : wheelChord(delta);
}

bool GroupPlacement::wheelInterval(int delta) {
    if (group_.size() != 2) {
        return false;
    }
    const bool refFirst = group_[0].isReference != 0;
    CNote& ref = refFirst ? group_[0] : group_[1];
    CNote& other = refFirst ? group_[1] : group_[0];
    const int d = refFirst ? 1 : -1;
    const int current = other.pitch - ref.pitch;
    int found = NoInterval;
    if (delta > 0) {
        for (int n = current + 1; n <= 12 && found == NoInterval; ++n) {
            if (intervalFits(settings_, table_, ref.pitch, n)) {
                found = n;
            }
        }
    } else {
        for (int n = current - 1; n >= -12 && found == NoInterval; --n) {
            if (intervalFits(settings_, table_, ref.pitch, n)) {
                found = n;
            }
        }
    }
    if (found == NoInterval) {
        return false;
    }
    if (group_[0].x != group_[1].x) {
        // A melodic interval must keep an allowed direction in time.
        if ((found * d < 0 && settings_.intervalsDown == 0) ||
            (found * d > 0 && settings_.intervalsUp == 0)) {
            return false;
        }
    }
    shape_.chosenInterval = shape_.shownInterval = found;
    other.pitch = static_cast<std::uint8_t>(ref.pitch + found);
    other.staffY = table_[other.pitch].staffY;
    updateText();
    return true;
}

bool GroupPlacement::wheelChord(int delta) {
    int low = HighestPitch;
    for (const CNote& note : group_) {
        low = std::min<int>(low, note.pitch);
    }
    const bool arpeggio = group_.front().x != group_.back().x;
    const bool descending = arpeggio && group_.front().pitch != low;
    const bool countMatters = arpeggio && dictation_;
    const int stepDir = delta > 0 ? 1 : -1;
    int found = -1;
    for (int i = 1; i <= ChordSlotCount && found < 0; ++i) {
        const int row =
            ((shape_.shownChord + stepDir * i) % ChordSlotCount + ChordSlotCount) % ChordSlotCount;
        if (chordRowFits(low, row, countMatters)) {
            found = row;
        }
    }
    if (found < 0) {
        return false;
    }
    if (found == shape_.shownChord) {
        shape_.chosenChord = shape_.shownChord;
        return false;
    }
    shape_.chosenChord = shape_.shownChord = found;
    const int oldCount = static_cast<int>(group_.size());
    rebuildChord(found, low, descending, group_.back().durationCode, group_.front().x,
                 group_.back().x, oldCount - 1);
    updateText();
    return true;
}

} // namespace tessimo
