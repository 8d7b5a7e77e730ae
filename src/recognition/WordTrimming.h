// Cutting the silence off both ends of a recorded word.
#pragma once

#include <cstdint>

namespace tessimo {

inline constexpr int TrimBlock = 100;
// Shortest recording that can be trimmed: a word keeps at least 2048 samples, and the last
// sample of a recording is never part of it.
inline constexpr int MinTrimmableSamples = 2049;

struct TrimRange {
    int start = 0; // first sample of the word
    int end = 0;   // one past its last sample; end - start >= 2048
};

// Where the word lies in s[0..count-1], count >= 2049: the first and the last 100-sample block
// whose mean absolute value exceeds 0.5 % of the peak-to-peak range, searched from each end in
// steps of 100, keeping at least 2048 samples. With no loud block, the 2048 samples before the
// last one. Any thread.
TrimRange FindWord(const std::int16_t* s, int count);

} // namespace tessimo
