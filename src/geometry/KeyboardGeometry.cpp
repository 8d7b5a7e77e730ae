#include "geometry/KeyboardGeometry.h"

#include "model/Pitch.h"

namespace tessimo {

int whiteKeyPitch(int w) {
    return LowestPitch + PitchesPerOctave * (w / 7) + WhiteKeyPitchClasses[w % 7];
}

KeyRect whiteKeyRect(int w) {
    return {KeyboardLeft + WhiteKeyWidth * w, KeyboardTop, KeyboardLeft + WhiteKeyWidth * (w + 1),
            KeyboardBottom};
}

bool hasBlackKeyAfter(int w) {
    const int r = w % 7;
    return r == 0 || r == 1 || r == 3 || r == 4 || r == 5;
}

KeyRect blackKeyRect(int w) {
    const int left = FirstBlackKeyLeft + WhiteKeyWidth * w;
    return {left, KeyboardTop, left + BlackKeyWidth, BlackKeyBottom};
}

KeyRect keyRect(int pitch) {
    const int octave = octaveIndex(pitch);
    const int step = DiatonicStepTable[pitchClass(pitch)];
    const int w = 7 * octave + step;
    return isBlackKey(pitch) ? blackKeyRect(w) : whiteKeyRect(w);
}

} // namespace tessimo
