// The staves with their brace, the clefs and bar lines. Each routine leaves the painter's pen,
// brush and font as it found them. User-interface thread only.
#pragma once

namespace tessimo {

struct PaintContext;

// The five lines of each shown staff; in Listen notes the play line, and the brace joining
// both staves.
void drawStaves(PaintContext& context);

// The treble clef if the treble staff is shown, the bass clef if the bass staff is.
void drawClefs(PaintContext& context);

// A vertical bar line at x across each shown staff; nothing from the staves' right end on.
void drawBarLine(PaintContext& context, int x);

} // namespace tessimo
