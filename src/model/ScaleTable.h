// The 25 scales from which the configuration preselects notes. Pure data; any thread.
#pragma once

#include <array>
#include <cstdint>

#include "model/NoteNames.h"

namespace tessimo {

struct ScaleRow {
    std::array<const char*, NamingConventionCount> names; // inner spaces are part of the names
    std::array<std::uint8_t, 12> flags;                   // membership by pitch class
};

// Rows 0..11: major on C..B; 12..23: harmonic minor on C..B; 24: chromatic.
inline constexpr int ScaleCount = 25;
extern const std::array<ScaleRow, ScaleCount> ScaleTable;

const char* scaleName(int row, int convention);
bool isInScale(int row, int pitch);

// Sets each enabled pitch selection (element k is pitch 36 + k) to the scale's flag for that
// pitch; disabled ones keep their state.
void preselectFromScale(int row, std::array<std::int32_t, 48>& notes,
                        const std::array<bool, 48>& enabled);

} // namespace tessimo
