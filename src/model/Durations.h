// Note values and beats, in duration units (sixty-fourth notes). Pure data; any thread.
#pragma once

#include <array>

namespace tessimo {

// Duration code 0..13: dotted whole (96) down to sixty-fourth (1). The dotted sixty-fourth
// (code 12) has length 1, not 1.5.
inline constexpr int DurationCodeCount = 14;
inline constexpr std::array<int, DurationCodeCount> DurationTable = {96, 64, 48, 32, 24, 16, 12,
                                                                     8,  6,  4,  3,  2,  1,  1};
inline constexpr int QuarterCode = 5; // every generated note outside Listen notes

// beatChoice 0..7 to beatLength.
inline constexpr int BeatChoiceCount = 8;
inline constexpr std::array<int, BeatChoiceCount> BeatTable = {8, 12, 16, 24, 32, 48, 64, 96};

} // namespace tessimo
