#include "display/NoteLayout.h"

#include "display/NotePainter.h"
#include "geometry/LogicalSpace.h"
#include "geometry/StaffLayout.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace tessimo {

namespace {

constexpr int MiddleC = 60;
constexpr int LabelGap = 12;
constexpr int TopScoreRow = 60;
constexpr int KeyboardScoreRow = 2900; // white keys only, below the black keys (2708)
constexpr int HeadWidth = 2 * HeadHalfWidth;
// A bar line keeps this far left of a note's ink: its ledger line and a little air.
constexpr int BarAir = LedgerOverhang + 8;
constexpr int SharpGap = 5;
// What a head reaches to its right: the dot of a dotted value (10 + 7 right of the head).
constexpr int HeadRightReach = HeadHalfWidth + 17;

OwnStaff staffAt(int offset) {
    return {staffLineY(offset, 0), staffLineY(offset, 2), staffLineY(offset, StaffLineCount - 1)};
}

} // namespace

OwnStaff ownStaff(const StaffView& staff, int pitch) {
    if (staff.trebleShown && staff.bassShown) {
        return staffAt(pitch >= MiddleC ? staff.trebleOffset : staff.bassOffset);
    }
    return staffAt(staff.bassShown ? staff.bassOffset : staff.trebleOffset);
}

LedgerLines ledgerLines(const StaffView& staff, int pitch, int staffY) {
    const OwnStaff own = ownStaff(staff, pitch);
    LedgerLines lines;
    for (int y = own.bottom + LineGap; y <= staffY && lines.count < MaxLedgerLines; y += LineGap) {
        lines.y[static_cast<std::size_t>(lines.count++)] = y;
    }
    for (int y = own.top - LineGap; y >= staffY && lines.count < MaxLedgerLines; y -= LineGap) {
        lines.y[static_cast<std::size_t>(lines.count++)] = y;
    }
    return lines;
}

bool stemUp(const StaffView& staff, int pitch, int staffY) {
    return staffY > ownStaff(staff, pitch).middle;
}

RowSpan noteRows(const StaffView& staff, const NoteGlyph& note, Stem stem) {
    RowSpan rows{note.staffY - HeadHalfHeight, note.staffY + HeadHalfHeight};
    if (note.durationCode <= 1 || stem == Stem::None) {
        return rows;
    }
    const bool up =
        stem == Stem::Up || (stem == Stem::Auto && stemUp(staff, note.pitch, note.staffY));
    if (up) {
        rows.top = std::min(rows.top, note.staffY - StemLength);
    } else {
        rows.bottom = std::max(rows.bottom, note.staffY + StemLength);
    }
    return rows;
}

int labelTop(int labelHeight, const RowSpan* labelled) {
    if (labelled == nullptr || labelled->bottom + LabelGap <= LabelRowY ||
        labelled->top - LabelGap >= LabelRowY + labelHeight) {
        return LabelRowY;
    }
    if (labelled->bottom + LabelGap + labelHeight <= StaffAreaBottom) {
        return labelled->bottom + LabelGap;
    }
    return std::max(0, labelled->top - LabelGap - labelHeight);
}

int scoreTop(const StaffView& staff) {
    return staff.trebleShown && staff.bassShown ? KeyboardScoreRow : TopScoreRow;
}

std::vector<GroupPlacement> placeGroup(const StaffView& staff, const std::vector<ListNote>& group) {
    std::vector<GroupPlacement> placed(group.size());
    std::vector<bool> done(group.size(), false);
    for (std::size_t i = 0; i < group.size(); ++i) {
        placed[i].x = group[i].x;
    }
    for (std::size_t first = 0; first < group.size(); ++first) {
        if (done[first]) {
            continue;
        }
        // The notes at this x, from the lowest (largest y) up.
        std::vector<std::size_t> column;
        for (std::size_t j = first; j < group.size(); ++j) {
            if (!done[j] && group[j].x == group[first].x) {
                column.push_back(j);
                done[j] = true;
            }
        }
        std::stable_sort(column.begin(), column.end(), [&group](std::size_t a, std::size_t b) {
            return group[a].glyph.staffY > group[b].glyph.staffY;
        });
        int farthest = 0;
        bool up = true;
        for (std::size_t j : column) {
            const NoteGlyph& g = group[j].glyph;
            const int fromMiddle = g.staffY - ownStaff(staff, g.pitch).middle;
            if (std::abs(fromMiddle) >= farthest) {
                farthest = std::abs(fromMiddle);
                up = fromMiddle > 0;
            }
        }
        for (std::size_t j : column) {
            placed[j].stem = up ? Stem::Up : Stem::Down;
        }
        if (column.size() < 2) {
            continue;
        }
        // Up-stems: walk upward, the upper note of a close pair moves right of the stem.
        // Down-stems: walk downward, the lower note moves left of it.
        if (!up) {
            std::reverse(column.begin(), column.end());
        }
        bool previousMoved = false;
        for (std::size_t k = 1; k < column.size(); ++k) {
            const ListNote& a = group[column[k - 1]];
            const ListNote& b = group[column[k]];
            const bool close = std::abs(a.glyph.staffY - b.glyph.staffY) <= StepHeight &&
                               a.glyph.pitch != b.glyph.pitch;
            if (close && !previousMoved) {
                GroupPlacement& moved = placed[column[k]];
                moved.x += up ? HeadWidth : -HeadWidth;
                moved.stem = Stem::None;
                previousMoved = true;
            } else {
                previousMoved = false;
            }
        }
    }
    return placed;
}

int barLineX(const ListNote* previous, const ListNote& note, int sharpWidth) {
    // The note's leftmost ink: its head, or its sharp sign.
    const int left = note.x - HeadHalfWidth - (sharpWidth > 0 ? SharpGap + sharpWidth : 0);
    int x = left - BarAir;
    if (previous != nullptr && previous->x < note.x && previous->x + HeadRightReach > x) {
        // No room for the full clearance: halfway between the two notes' ink (the previous
        // one's dot included when there is room for it).
        const int previousRight = previous->x + HeadRightReach < left ? previous->x + HeadRightReach
                                                                      : previous->x + HeadHalfWidth;
        x = (previousRight + left) / 2;
    }
    return x;
}

} // namespace tessimo
