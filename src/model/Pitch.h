// Pitch numbers and their place on the keyboard and the staff.
// All functions are pure and may be called from any thread.
#pragma once

#include <array>
#include <cstdint>

namespace tessimo {

using Pitch = std::uint8_t;

inline constexpr int LowestPitch = 36;  // C2
inline constexpr int HighestPitch = 83; // B5
inline constexpr int PitchesPerOctave = 12;
inline constexpr int OctaveCount = 4;
inline constexpr int PitchCount = HighestPitch - LowestPitch + 1; // 48
inline constexpr Pitch NoPitch = 255;

inline constexpr std::array<std::uint8_t, 12> BlackKeyFlags = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0};
inline constexpr std::array<std::uint8_t, 7> WhiteKeyPitchClasses = {0, 2, 4, 5, 7, 9, 11};
inline constexpr std::array<std::uint8_t, 5> BlackKeyPitchClasses = {1, 3, 6, 8, 10};
// A sharp sits on the step of the natural below it.
inline constexpr std::array<std::uint8_t, 12> DiatonicStepTable = {0, 0, 1, 1, 2, 3,
                                                                   3, 4, 4, 5, 5, 6};

constexpr int pitchClass(int pitch) {
    return pitch % PitchesPerOctave;
}

// Octave within the exercise range: 0 for 36..47, 3 for 72..83.
constexpr int octaveIndex(int pitch) {
    return (pitch - LowestPitch) / PitchesPerOctave;
}

constexpr bool isBlackKey(int pitch) {
    return BlackKeyFlags[pitchClass(pitch)] != 0;
}

constexpr bool isInRange(int pitch) {
    return pitch >= LowestPitch && pitch <= HighestPitch;
}

// Line-or-space position counted from pitch 36 (step 0); middle C is step 14, pitch 83 step 27.
// Defined for pitches 36..83.
constexpr int diatonicStep(int pitch) {
    return DiatonicStepTable[(pitch - LowestPitch) % PitchesPerOctave] + 7 * octaveIndex(pitch);
}

} // namespace tessimo
