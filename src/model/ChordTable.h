// The ten chord types. Pure data; any thread.
#pragma once

#include <array>
#include <cstdint>

namespace tessimo {

struct ChordRow {
    const char* name;
    std::array<std::uint8_t, 24> halfTones; // flag per half tone above the root, two octaves
    int noteCount;
    int span; // highest half tone set
};

// Slots 0..9 of the settings' chord flags; slots 10..19 carry no chord type.
inline constexpr int ChordTypeCount = 10;
inline constexpr int ChordSlotCount = 20;
extern const std::array<ChordRow, ChordTypeCount> ChordTable;

} // namespace tessimo
