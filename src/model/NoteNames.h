// Note names in the three naming conventions. Pure data; any thread.
#pragma once

#include <array>

namespace tessimo {

enum NamingConvention : int { Solfege = 0, Letter = 1, German = 2 };
inline constexpr int NamingConventionCount = 3;

// [convention][pitch class]. The German names of the sharps contain a space before "is".
extern const std::array<std::array<const char*, 12>, NamingConventionCount> NoteNameTable;

// Name of a pitch (any pitch >= 0) in a convention 0..2.
const char* noteName(int pitch, int convention);

// "is" for German, "#" otherwise.
const char* sharpSign(int convention);

} // namespace tessimo
