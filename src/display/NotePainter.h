// A note with its ledger line, sharp sign, dot, stem and flags; the note-name label; an interval
// or chord group with its keys and its name. Each routine leaves the painter's pen, brush and
// font as it found them. User-interface thread only.
#pragma once

#include "display/FrameState.h"

#include <QRgb>

#include <vector>

namespace tessimo {

struct PaintContext;

// Logical note geometry around the head's centre.
inline constexpr int HeadHalfWidth = 21;
inline constexpr int HeadHalfHeight = 65;
inline constexpr int LedgerOverhang = 16;
inline constexpr int StemLength = 335;
inline constexpr int StemDownLimit = 335; // heads at or above this y hang their stem down
inline constexpr int FlagSpacing = 32;
inline constexpr int LabelShift = 32;

// Where the ledger line of a pitch lies relative to its head, if it has one.
enum class LedgerPlace { None, Through, Above, Below };
LedgerPlace ledgerPlace(int pitch);

// Number of flags of a duration code (0 for quarters and longer).
int flagCount(int durationCode);

// The note at x (its own x is not read) in the colour; ledger lines stay black.
void drawNote(PaintContext& context, const NoteGlyph& note, int x, QRgb colour);

// The name of the pitch in the current naming convention at x, or "?" when pitch is negative.
void drawNameLabel(PaintContext& context, int pitch, int x, QRgb colour);

// Every note of the group at its own x with its key, naturals before sharps, and the group's
// name centred under it.
void drawGroup(PaintContext& context, const std::vector<ListNote>& group, QRgb colour);

} // namespace tessimo
