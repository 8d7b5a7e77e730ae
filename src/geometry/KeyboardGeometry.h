// The four-octave piano keyboard under the staff (pitches 36..83) in logical units.
// Constants and pure functions; any thread.
#pragma once

namespace tessimo {

inline constexpr int KeyboardOctaves = 4;
inline constexpr int WhiteKeyCount = 7 * KeyboardOctaves;                                  // 28
inline constexpr int BlackKeyCount = 5 * KeyboardOctaves;                                  // 20
inline constexpr int KeyboardWidth = (2000 / WhiteKeyCount) * WhiteKeyCount;               // 1988
inline constexpr int KeyboardOctaveWidth = KeyboardWidth / KeyboardOctaves;                // 497
inline constexpr int WhiteKeyWidth = KeyboardOctaveWidth / 7;                              // 71
inline constexpr int BlackKeyWidth = KeyboardOctaveWidth / 10;                             // 49
inline constexpr int KeyboardLeft = (2000 - KeyboardWidth) / 2;                            // 6
inline constexpr int FirstBlackKeyLeft = WhiteKeyWidth + KeyboardLeft - BlackKeyWidth / 2; // 53
inline constexpr int KeyboardTop = 2003;
inline constexpr int KeyboardBottom = 3200;
inline constexpr int BlackKeyBottom = 2708;
// Where the mouse stops meaning a black key (compared as written, a double).
inline constexpr double BlackKeyBandEnd = 2705.8823529411766;

// Used by the mouse-to-pitch mapping; only the entries of the naturals are read.
inline constexpr float SharpThresholdTable[12] = {0.5f, 1.0f, 1.5f, 2.0f, 3.0f, 3.5f,
                                                  4.0f, 4.5f, 5.0f, 5.5f, 6.0f, 7.0f};

struct KeyRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Pitch of white key w (0..27, left to right).
int whiteKeyPitch(int w);

// Rectangle of white key w (0..27).
KeyRect whiteKeyRect(int w);

// Whether a black key follows white key w (w mod 7 is C, D, F, G or A).
bool hasBlackKeyAfter(int w);

// Rectangle of the black key that follows white key w (only when hasBlackKeyAfter(w)).
KeyRect blackKeyRect(int w);

// Rectangle of the key of a pitch 36..83 (white or black).
KeyRect keyRect(int pitch);

} // namespace tessimo
