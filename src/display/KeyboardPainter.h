// The four-octave piano keyboard below the staff and the highlighting of one key. Each routine
// leaves the painter's pen and brush as it found them. User-interface thread only.
#pragma once

#include <QRgb>

namespace tessimo {

struct PaintContext;

// Every key, coloured by whether its pitch is selected for the exercise.
void drawKeyboard(PaintContext& context);

// Paints the key of a pitch in 36..83 in the colour (other pitches are ignored). A white key
// covers its black neighbours' lower part, so they are painted again over it.
void highlightKey(PaintContext& context, int pitch, QRgb colour);

} // namespace tessimo
