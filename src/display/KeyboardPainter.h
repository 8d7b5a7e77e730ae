// The four-octave piano keyboard below the staff and the highlighting of one key. Each routine
// leaves the painter's pen and brush as it found them. User-interface thread only.
#pragma once

#include <QRectF>
#include <QRgb>

namespace tessimo {

struct PaintContext;

// Logical key geometry: 28 white keys of 71 units from x 6, black keys 49 wide.
inline constexpr int KeyboardLeft = 6;
inline constexpr int WhiteKeyWidth = 71;
inline constexpr int BlackKeyWidth = 49;
inline constexpr int OctaveWidth = 497;
inline constexpr int KeyboardTop = 2003;
inline constexpr int WhiteKeyBottom = 3200;
inline constexpr int BlackKeyBottom = 2708;
inline constexpr int WhiteKeyCount = 28;

// The logical rectangle of the key of a pitch in 36..83.
QRectF keyRect(int pitch);

// Every key, coloured by whether its pitch is selected for the exercise.
void drawKeyboard(PaintContext& context);

// Paints the key of a pitch in 36..83 in the colour (other pitches are ignored). A white key
// covers its black neighbours' lower part, so they are painted again over it.
void highlightKey(PaintContext& context, int pitch, QRgb colour);

} // namespace tessimo
