// Where the parts of a note go on the staves: the staff a note belongs to, its ledger lines,
// its stem direction, the height it covers, where its name label fits, and how the notes of a
// chord stand side by side. Plain functions of the staff view; user-interface thread (any
// thread would do, they keep no state).
#pragma once

#include "display/FrameState.h"

#include <array>
#include <vector>

namespace tessimo {

// The five lines of the staff a note is written on.
struct OwnStaff {
    int top = 0;    // logical y of the top line
    int middle = 0; // the third line
    int bottom = 0; // the fifth line
};

// The staff of a pitch: the only one shown, or in the two-staff layout the treble staff from
// middle C (60) up and the bass staff below it.
OwnStaff ownStaff(const StaffView& staff, int pitch);

// The ledger lines of a note at staffY: one on every line position of its staff's grid from
// the staff out to the note, so a note on a line has one through its head and a note in a
// space has the nearest one just beyond it toward the staff.
inline constexpr int MaxLedgerLines = 16;
struct LedgerLines {
    int count = 0;
    std::array<int, MaxLedgerLines> y{};
};
LedgerLines ledgerLines(const StaffView& staff, int pitch, int staffY);

// Which way a stem goes: Auto by the note's own staff (down from the middle line up, up below
// it); None for a note drawn without its own stem (the displaced note of a second shares the
// chord's stem).
enum class Stem { Auto, Up, Down, None };
bool stemUp(const StaffView& staff, int pitch, int staffY);

// The rows a drawn note covers: the head, and the stem with its flags.
struct RowSpan {
    int top = 0;
    int bottom = 0;
};
RowSpan noteRows(const StaffView& staff, const NoteGlyph& note, Stem stem);

// Top of a name label (one line of the label font, labelHeight units tall) written below the
// staves at the label row, unless that row would cross the rows the labelled note covers:
// then just below the note if it fits above the keyboard, else just above the note.
int labelTop(int labelHeight, const RowSpan* labelled);

// The score texts' row: across the top of the staff area, where no note of a single-staff
// layout reaches; in the two-staff layout the highest notes reach the top edge and the lowest
// the keyboard, so the row moves to the white keys' free lower band.
int scoreTop(const StaffView& staff);

// How one note of an interval or chord group is drawn.
struct GroupPlacement {
    int x = 0; // where its head goes
    Stem stem = Stem::Auto;
};

// Places the notes of a group: notes that share an x share one stem direction (chosen by the
// note farthest from its staff's middle line), and of two notes a step or less apart one
// moves beside the other, to the right of an up-stem or to the left of a down-stem, as
// seconds are written. The result is in the group's order.
std::vector<GroupPlacement> placeGroup(const StaffView& staff, const std::vector<ListNote>& group);

// Where the bar line before a note goes: clear of the note's head, ledger lines and sharp
// sign (sharpWidth, 0 for a natural), and halfway to the previous note when that one is
// closer than the clearance.
int barLineX(const ListNote* previous, const ListNote& note, int sharpWidth);

} // namespace tessimo
