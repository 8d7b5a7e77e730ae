// Answers: clicks, hovering, moving and reshaping the group with the mouse and its wheel, and
// recognised words; the fitting rules for intervals and chords and the comparison of groups.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "game/CBrindelView.h"
#include "game/GroupRules.h"
#include "geometry/PitchAt.h"
#include "model/ChordTable.h"
#include "model/Pitch.h"
#include "recognition/RecognizerEntryPoints.h"
#include "sound/MidiOutput.h"

namespace tessimo {

bool CBrindelView::isDictation() const {
    return state_.gameMode == GameMode::IntervalDictation ||
           state_.gameMode == GameMode::ChordsDictation;
}

bool CBrindelView::isIntervalMode() const {
    return state_.gameMode == GameMode::PlayIntervals ||
           state_.gameMode == GameMode::IntervalDictation;
}

bool CBrindelView::isChordMode() const {
    return state_.gameMode == GameMode::PlayChords || state_.gameMode == GameMode::ChordsDictation;
}

bool CBrindelView::isGroupMode() const {
    return isIntervalMode() || isChordMode();
}

int CBrindelView::pitchAtPoint(DevicePoint point, bool requireSelected) const {
    return pitchAt(point, services_.window.clientSize(), staffLayout_, pitchTable_,
                   requireSelected);
}

// ---- Mouse ----

void CBrindelView::onLButtonDown(DevicePoint point) {
    if (state_.frozen) {
        return;
    }
    switch (state_.gameMode) {
    case GameMode::PlayNotes:
        clickPlayNotes(point);
        break;
    case GameMode::NotesDictation:
        clickNotesDictation();
        break;
    case GameMode::PlayIntervals:
    case GameMode::PlayChords:
        armPlayback(answerGroup_, 0);
        break;
    case GameMode::IntervalDictation:
    case GameMode::ChordsDictation:
        clickGroupDictation();
        break;
    default:
        break;
    }
}

void CBrindelView::onMouseMove(DevicePoint point, bool leftButtonDown) {
    if (state_.frozen) {
        return;
    }
    if (state_.gameMode == GameMode::PlayNotes) {
        // Dragging across the staff or the keyboard plays each new note once.
        if (leftButtonDown && pitchAtPoint(point, true) != state_.highlightPitch) {
            clickPlayNotes(point);
        }
    } else if (state_.gameMode == GameMode::NotesDictation) {
        const int p = pitchAtPoint(point, false);
        if (pitchTable_.isSelected(p) && p != state_.hoverPitch) {
            state_.hoverPitch = p;
            state_.wrongMark = -1;
            repaint();
        }
    } else if (isGroupMode()) {
        moveGroup(point);
    }
}

void CBrindelView::onMouseWheel(int delta, DevicePoint /*point*/) {
    if (isGroupMode() && delta != 0 && !state_.frozen) {
        wheelGroup(delta);
    }
}

void CBrindelView::clickPlayNotes(DevicePoint point) {
    const int p = pitchAtPoint(point, true);
    if (p != NoPitch) {
        if (settings_.soundMode == Voice) {
            if (pitchTable_[pitchClass(p)].hasTemplate != 0) {
                playWord(pitchClass(p) + PitchesPerOctave * random(3));
            }
        } else if (settings_.soundMode == Instrument) {
            if (pitchTable_[p].hasTemplate != 0) {
                playWord(p);
            }
        } else {
            midiPlayPitch(p);
        }
    }
    state_.highlightPitch = p;
    repaint();
}

void CBrindelView::soundPitch(int pitch) {
    if (settings_.soundMode == Voice) {
        playWord(pitchClass(pitch));
    } else if (settings_.soundMode == Instrument) {
        playWord(pitch);
    } else {
        midiPlayPitch(pitch);
    }
}

void CBrindelView::clickNotesDictation() {
    if (state_.hoverPitch != -1) {
        judgeNote(state_.hoverPitch, AnswerInput::Mouse);
    }
}

// ---- Recognised words ----

// A word slot stands for a pitch: with Instrument the slot is the pitch; with Voice it names a
// pitch class, and stands for the selected pitch of that class nearest to the expected one
// (the lower on a tie), which is judged by its class and shown when wrong.
void CBrindelView::onRecognized(int word) {
    if (word < 0 || word >= TemplateSlotCount) {
        return;
    }
    int pitch = word;
    if (settings_.soundMode == Voice) {
        pitch = -1;
        for (int p = LowestPitch; p <= HighestPitch; ++p) {
            if (pitchClass(p) == word % 12 && pitchTable_.isSelected(p) &&
                (pitch == -1 ||
                 std::abs(p - state_.expectedPitch) < std::abs(pitch - state_.expectedPitch))) {
                pitch = p;
            }
        }
    }
    judgeNote(pitch, settings_.soundMode == Voice ? AnswerInput::Voice : AnswerInput::Instrument);
}

// ---- Moving and reshaping the group ----

void CBrindelView::setIntervalText() {
    const CNote* ref = nullptr;
    for (const CNote& note : answerGroup_) {
        if (note.isReference != 0) {
            ref = &note;
            break;
        }
    }
    if (ref == nullptr) {
        ref = &answerGroup_.front();
    }
    char text[32];
    std::snprintf(text, sizeof text, "%s %+d/2", ref->name(settings_.namingConvention),
                  state_.shownInterval);
    state_.displayText = text;
}

void CBrindelView::setChordText() {
    int low = HighestPitch;
    for (const CNote& note : answerGroup_) {
        low = std::min<int>(low, note.pitch);
    }
    const int row = std::clamp(state_.shownChord, 0, ChordTypeCount - 1);
    state_.displayText = std::string(noteName(low, settings_.namingConvention)) + " " +
                         ChordTable[static_cast<std::size_t>(row)].name;
}

void CBrindelView::rebuildChordGroup(int row, int base, bool descending, std::uint8_t durationCode,
                                     int firstX, int lastX, int divisor) {
    const ChordRow& chord = ChordTable[static_cast<std::size_t>(row)];
    CNote model = answerGroup_.front();
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
    answerGroup_.removeAll();
    for (int k = 0; k < n; ++k) {
        const int pitch = pitches[static_cast<std::size_t>(k)];
        CNote note = model;
        note.pitch = static_cast<std::uint8_t>(pitch);
        note.staffY = pitchTable_[pitch].staffY;
        note.groupIndex = static_cast<std::uint8_t>(k);
        note.durationCode = durationCode;
        note.isReference = pitch == base ? 1 : 0;
        note.barStart = k == 0 ? model.barStart : 0;
        answerGroup_.appendAt(note, divisor > 0 ? firstX + (lastX - firstX) * k / divisor : firstX);
    }
}

CNote* CBrindelView::answerReference() {
    for (CNote& note : answerGroup_) {
        if (note.isReference != 0) {
            return &note;
        }
    }
    return &answerGroup_.back();
}

void CBrindelView::moveGroup(DevicePoint point) {
    if (answerGroup_.empty()) {
        return;
    }
    // The first note goes where the mouse points; when the reference is another note, that
    // first note must land on a selected pitch.
    const int offset = answerReference()->pitch - answerGroup_.front().pitch;
    moveGroupTo(pitchAtPoint(point, offset != 0));
}

void CBrindelView::moveGroupTo(int p) {
    if (answerGroup_.empty() || (isDictation() && settings_.dragWithMouse == 0)) {
        return;
    }
    CNote& first = answerGroup_.front();
    CNote* ref = answerReference();
    const int offset = ref->pitch - first.pitch;
    if (!isInRange(p) || (offset != 0 && !pitchTable_.isSelected(p))) {
        return;
    }
    const int target = p + offset;
    if (!pitchTable_.isSelected(target)) {
        return;
    }
    const int delta = p - first.pitch;
    if (delta == 0) {
        return;
    }
    // A plain shift must keep every note of the group inside the range.
    bool shiftStaysInRange = true;
    for (const CNote& note : answerGroup_) {
        shiftStaysInRange = shiftStaysInRange && isInRange(note.pitch + delta);
    }
    auto shift = [&] {
        for (CNote& note : answerGroup_) {
            note.pitch = static_cast<std::uint8_t>(note.pitch + delta);
            note.staffY = pitchTable_[note.pitch].staffY;
        }
    };

    if (isIntervalMode()) {
        if (answerGroup_.size() != 2) {
            return;
        }
        if (shiftStaysInRange &&
            tessimo::intervalFits(settings_, pitchTable_, target, state_.shownInterval) &&
            state_.shownInterval == state_.chosenInterval) {
            shift();
        } else {
            int found = 99;
            for (int n = state_.chosenInterval; n <= 12 && found == 99; ++n) {
                if (tessimo::intervalFits(settings_, pitchTable_, target, n)) {
                    found = n;
                }
            }
            for (int n = state_.chosenInterval - 1; n >= -12 && found == 99; --n) {
                if (tessimo::intervalFits(settings_, pitchTable_, target, n)) {
                    found = n;
                }
            }
            if (found == 99) {
                return;
            }
            state_.shownInterval = found;
            CNote& other = ref == &answerGroup_[0] ? answerGroup_[1] : answerGroup_[0];
            ref->pitch = static_cast<std::uint8_t>(target);
            ref->staffY = pitchTable_[target].staffY;
            other.pitch = static_cast<std::uint8_t>(target + found);
            other.staffY = pitchTable_[target + found].staffY;
        }
        wrongGroup_.removeAll();
        setIntervalText();
        repaint();
        return;
    }

    if (shiftStaysInRange &&
        tessimo::chordFits(settings_, pitchTable_, target, state_.shownChord) &&
        state_.shownChord == state_.chosenChord) {
        shift();
    } else {
        const bool arpeggio = answerGroup_.size() >= 2 && answerGroup_[0].x != answerGroup_[1].x;
        const bool countMatters = arpeggio && state_.gameMode == GameMode::ChordsDictation;
        int found = -1;
        for (int i = 0; i < ChordSlotCount && found < 0; ++i) {
            const int row = (state_.chosenChord + i) % ChordSlotCount;
            if (tessimo::chordFits(settings_, pitchTable_, target, row) &&
                (!countMatters || ChordTable[static_cast<std::size_t>(row)].noteCount ==
                                      static_cast<int>(answerGroup_.size()))) {
                found = row;
            }
        }
        if (found < 0) {
            return;
        }
        state_.shownChord = found;
        const bool descending =
            answerGroup_.size() >= 2 && answerGroup_[0].pitch > answerGroup_[1].pitch;
        const int rowNotes = ChordTable[static_cast<std::size_t>(found)].noteCount;
        rebuildChordGroup(found, target, descending, answerGroup_.front().durationCode,
                          answerGroup_.front().x, answerGroup_.back().x, rowNotes - 1);
    }
    wrongGroup_.removeAll();
    setChordText();
    repaint();
}

void CBrindelView::wheelGroup(int delta) {
    if (answerGroup_.empty() || (isDictation() && settings_.wheelChangesType == 0)) {
        return;
    }
    wrongGroup_.removeAll();
    if (isIntervalMode()) {
        if (answerGroup_.size() != 2) {
            return;
        }
        const bool refFirst = answerGroup_[0].isReference != 0;
        CNote& ref = refFirst ? answerGroup_[0] : answerGroup_[1];
        CNote& other = refFirst ? answerGroup_[1] : answerGroup_[0];
        const int d = refFirst ? 1 : -1;
        const int current = other.pitch - ref.pitch;
        int found = 99;
        if (delta > 0) {
            for (int n = current + 1; n <= 12 && found == 99; ++n) {
                if (tessimo::intervalFits(settings_, pitchTable_, ref.pitch, n)) {
                    found = n;
                }
            }
        } else {
            for (int n = current - 1; n >= -12 && found == 99; --n) {
                if (tessimo::intervalFits(settings_, pitchTable_, ref.pitch, n)) {
                    found = n;
                }
            }
        }
        if (found == 99) {
            return;
        }
        if (answerGroup_[0].x != answerGroup_[1].x) {
            // A melodic interval must keep an allowed direction in time.
            if ((found * d < 0 && settings_.intervalsDown == 0) ||
                (found * d > 0 && settings_.intervalsUp == 0)) {
                return;
            }
        }
        state_.chosenInterval = state_.shownInterval = found;
        other.pitch = static_cast<std::uint8_t>(ref.pitch + found);
        other.staffY = pitchTable_[other.pitch].staffY;
        setIntervalText();
        repaint();
        return;
    }

    int low = HighestPitch;
    for (const CNote& note : answerGroup_) {
        low = std::min<int>(low, note.pitch);
    }
    const bool arpeggio = answerGroup_.front().x != answerGroup_.back().x;
    const bool descending = arpeggio && answerGroup_.front().pitch != low;
    const bool countMatters = arpeggio && state_.gameMode == GameMode::ChordsDictation;
    const int stepDir = delta > 0 ? 1 : -1;
    int found = -1;
    for (int i = 1; i <= ChordSlotCount && found < 0; ++i) {
        const int row =
            ((state_.shownChord + stepDir * i) % ChordSlotCount + ChordSlotCount) % ChordSlotCount;
        if (tessimo::chordFits(settings_, pitchTable_, low, row) &&
            (!countMatters || ChordTable[static_cast<std::size_t>(row)].noteCount ==
                                  static_cast<int>(answerGroup_.size()))) {
            found = row;
        }
    }
    if (found < 0) {
        return;
    }
    if (found == state_.shownChord) {
        state_.chosenChord = state_.shownChord;
        return;
    }
    state_.chosenChord = state_.shownChord = found;
    const int oldCount = static_cast<int>(answerGroup_.size());
    rebuildChordGroup(found, low, descending, answerGroup_.back().durationCode,
                      answerGroup_.front().x, answerGroup_.back().x, oldCount - 1);
    setChordText();
    repaint();
}

// ---- Clicking a group ----

void CBrindelView::clickGroupDictation() {
    judgeGroup(pitchesOf(answerGroup_), AnswerInput::Mouse);
}

} // namespace tessimo
