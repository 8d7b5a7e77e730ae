#include "recognition/WordTrimming.h"

#include <algorithm>
#include <cstdlib>

#include "recognition/FrameAnalysis.h"

namespace tessimo {
namespace {

long blockSum(const std::int16_t* s, int first) {
    long sum = 0;
    for (int i = first; i < first + TrimBlock; ++i) {
        sum += std::abs(static_cast<int>(s[i]));
    }
    return sum;
}

} // namespace

TrimRange FindWord(const std::int16_t* s, int count) {
    const auto [low, high] = std::minmax_element(s, s + count);
    const double threshold = (static_cast<int>(*high) - static_cast<int>(*low)) * 0.005 * 100.0;
    const auto loud = [&](int first) {
        return static_cast<double>(blockSum(s, first)) > threshold;
    };

    const int last = count - 1;
    TrimRange word;
    while (word.start <= last - FrameLength && !loud(word.start)) {
        word.start += TrimBlock;
    }
    if (word.start > last - FrameLength) {
        word.start = last - FrameLength;
        word.end = last;
    } else {
        word.end = last;
        while (word.end >= word.start + FrameLength && !loud(word.end - TrimBlock)) {
            word.end -= TrimBlock;
        }
    }
    word.end = std::max(word.end, word.start + FrameLength);
    return word;
}

} // namespace tessimo
