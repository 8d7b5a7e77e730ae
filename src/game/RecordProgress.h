// How far Record or its replay has come, as the painter shows it. Plain data.
#pragma once

namespace tessimo {

struct RecordProgress {
    int position = -3;    // -3, -2: countdown; -1: the room's noise; 0..: word being recorded
    int tick = 0;         // 0..4 within the position (300 ms each)
    int currentWord = -1; // table index of the word being recorded or replayed, -1 for none
};

} // namespace tessimo
