// A note with its ledger line, sharp sign, dot, stem and flags; the note-name label; an interval
// or chord group with its keys and its name. Each routine leaves the painter's pen, brush and
// font as it found them. User-interface thread only.
#pragma once

#include "display/FrameState.h"
#include "display/NoteLayout.h"

#include <QRgb>

#include <vector>

namespace tessimo {

struct PaintContext;

// Logical note geometry around the head's centre.
inline constexpr int HeadHalfWidth = 21;
inline constexpr int HeadHalfHeight = 65;
inline constexpr int LedgerOverhang = 16;
inline constexpr int StemLength = 335;
inline constexpr int FlagSpacing = 32;
inline constexpr int LabelShift = 32;

// Number of flags of a duration code (0 for quarters and longer).
int flagCount(int durationCode);

// The note at x (its own x is not read) in the colour, with the ledger lines of its own staff
// (they stay black) and its stem as chosen (by default by its place on its staff).
void drawNote(PaintContext& context, const NoteGlyph& note, int x, QRgb colour,
              Stem stem = Stem::Auto);

// The name of the pitch in the current naming convention at x, or "?" when pitch is negative.
// It goes on the label row unless that row crosses the labelled note (drawn at the same x),
// and then beside the note above or below it.
void drawNameLabel(PaintContext& context, int pitch, int x, QRgb colour,
                   const NoteGlyph* labelled = nullptr);

// Every note of the group at its own x with its key, naturals before sharps, the notes a
// step apart side by side, and the group's name centred under it, clear of its notes.
void drawGroup(PaintContext& context, const std::vector<ListNote>& group, QRgb colour);

} // namespace tessimo
