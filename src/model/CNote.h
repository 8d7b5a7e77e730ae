// One note of an exercise: an entry of the PitchTable or a loose note of a note list.
// Plain 28-byte value record, copied bytewise. User-interface thread only.
#pragma once

#include <cstdint>

#include "model/NoteNames.h"

namespace tessimo {

struct CNote {
    std::uint8_t selected = 0;    // PitchTable entry takes part in the exercise
    std::uint8_t wordActive = 0;  // PitchTable entry is a vocabulary word of the recogniser
    std::uint8_t hasTemplate = 0; // a voice template is stored for this word
    std::uint8_t wordIndex = 0;   // recogniser word (template slot) standing for this note
    std::uint8_t pitch = 0;       // 36..83
    std::uint8_t durationCode = 5;
    std::int32_t staffY = 0;      // logical y of the note head
    std::int32_t x = 0;           // logical x; question notes enter at 1960 and scroll left
    std::int32_t startTime = 0;   // tick count (ms) at which the note starts sounding
    std::int32_t endTime = 0;     // tick count at which it stops sounding
    std::uint8_t answered = 0;    // answered right (Listen notes: already played)
    std::uint8_t barStart = 0;    // a bar line is drawn 18 units left of the note
    std::uint8_t groupIndex = 0;  // position in its interval or chord group; 0 = first
    std::uint8_t isReference = 0; // the note the group was built from and is named after

    // The note's name in a naming convention (0..2).
    const char* name(int convention) const { return noteName(pitch, convention); }
};

static_assert(sizeof(CNote) == 28, "a note is a 28-byte record");

} // namespace tessimo
