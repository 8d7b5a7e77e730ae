// The answer group of the interval and chord exercises as the user places it: moved to a
// height with the mouse, reshaped with the wheel, and labelled with the interval or chord it
// shows. The moves keep to what the settings allow, so the group always shows an interval or
// chord that could be asked. User-interface thread only.
#pragma once

#include <cstdint>

namespace tessimo {

class CNote;
class CNotesList;
class PitchTable;
struct GroupShape;
struct SettingsRecord;

enum class GroupKind { Interval, Chord };

class GroupPlacement {
public:
    // dictation: the group answers a question, so the settings' mouse and wheel options
    // apply and, in Chords Dictation, an arpeggio keeps its number of notes.
    GroupPlacement(const SettingsRecord& settings, const PitchTable& table, CNotesList& group,
                   CNotesList& wrongGroup, GroupShape& shape, GroupKind kind, bool dictation)
        : settings_(settings), table_(table), group_(group), wrong_(wrongGroup), shape_(shape),
          kind_(kind), dictation_(dictation) {}

    // Whether the pitch the mouse points at must be a selected one for moveTo: when the
    // reference is not the first note, the first note must land on a selected pitch.
    bool needsSelectedPitch() const;
    // Puts the first note at pitch p (out of range: nothing), keeping the shape when it fits
    // there, else the nearest shape that does. True when the group changed.
    bool moveTo(int p);
    // One wheel step up (delta > 0) or down: the next interval or chord that fits. True when
    // the group changed.
    bool wheel(int delta);

    // The shape and label of a question's group just copied into the answer group.
    void takeQuestionShape();
    // The label of the shape shown, e.g. "DO +7/2" or "SOL m".
    void updateText();
    // The spread of the group's x, to centre the label.
    void storeSpread();

private:
    CNote* reference();
    void rebuildChord(int row, int base, bool descending, std::uint8_t durationCode, int firstX,
                      int lastX, int divisor);
    void shift(int delta);
    bool moveInterval(int target, bool shiftStaysInRange, int delta);
    bool moveChord(int target, bool shiftStaysInRange, int delta);
    bool chordRowFits(int base, int row, bool countMatters) const;
    bool wheelInterval(int delta);
    bool wheelChord(int delta);

    const SettingsRecord& settings_;
    const PitchTable& table_;
    CNotesList& group_;
    CNotesList& wrong_;
    GroupShape& shape_;
    GroupKind kind_;
    bool dictation_;
};

} // namespace tessimo
