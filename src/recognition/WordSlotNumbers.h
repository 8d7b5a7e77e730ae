// The numbering of the recogniser's word slots, shared by its boundary and its insides.
#pragma once

namespace tessimo {

// Word slots: 0..35 spoken note names (slots c, c + 12, c + 24 for pitch class c),
// 36..83 pitches played on an instrument, 84 the word being detected and the noise recording,
// 85 allocated and never used.
inline constexpr int TemplateSlotCount = 84;
inline constexpr int WorkSlot = 84;
inline constexpr int WordSlotCount = 86;

} // namespace tessimo
