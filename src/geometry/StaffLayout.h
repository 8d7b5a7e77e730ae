// Which staves are shown (treble, bass or both) and where each pitch sits on them.
// Plain data with pure functions; user-interface thread (it lives in the view).
#pragma once

#include <cstdint>

namespace tessimo {

class PitchTable;

inline constexpr int StepHeight = 67;               // line to space
inline constexpr int LineGap = 2 * StepHeight;      // 134, between two staff lines
inline constexpr int OctaveHeight = 7 * StepHeight; // 469
inline constexpr int StaffTopLine = 732;            // top line of a staff at offset 0
inline constexpr int StaffLineCount = 5;
inline constexpr int StaffLineLeft = 40;
inline constexpr int StaffLineRight = 1960;
inline constexpr int ExitLineX = 200;
inline constexpr int LabelRowY = 1668;
inline constexpr int TwoStaffOffset = 402; // six steps each way in the two-staff layout

inline constexpr int TrebleOnlyBaseY = 2340;
inline constexpr int BothStavesBaseY = 1938;
inline constexpr int BassOnlyBaseY = 1536;

struct StaffLayout {
    std::uint8_t trebleShown = 0;
    std::uint8_t bassShown = 0;
    std::int32_t trebleOffset = 0;
    std::int32_t bassOffset = 0;
    std::int32_t staffBaseY = 0; // logical y of diatonic step 0 (pitch 36)

    // Chooses the layout from the selected entries 36..83 of the table: bass when a pitch of
    // 36..57 is selected, treble when none is or a pitch of 64..83 is. Pitches 58..63 never
    // decide. The offset of a staff that is not shown keeps its previous value.
    void compute(const PitchTable& table);

    // Logical y of a pitch 36..83: staffBaseY - 67 x its diatonic step.
    int pitchY(int pitch) const;
};

// Logical y of line k (0..4, top to bottom) of a staff with the given offset.
constexpr int staffLineY(int offset, int k) {
    return offset + StaffTopLine + LineGap * k;
}

} // namespace tessimo
