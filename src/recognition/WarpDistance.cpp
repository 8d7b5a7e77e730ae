#include "recognition/WarpDistance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "recognition/FrameAnalysis.h"

namespace tessimo {
namespace {

float localDistance(const CFFT& a, const CFFT& b) {
    const float d = static_cast<float>(std::sqrt(FrameDistance(a, b)));
    return std::isfinite(d) ? d : WarpInfinity;
}

// Two rows of the (n+1) x (m+1) table: row i - 1 in previous, row i in current.
float warp(const CFFTArray& x, const CFFTArray& t, float* previous, float* current) {
    const int n = x.GetSize();
    const int m = t.GetSize();
    previous[0] = 0.0f;
    std::fill(previous + 1, previous + m + 1, WarpInfinity);
    for (int i = 1; i <= n; ++i) {
        current[0] = WarpInfinity;
        for (int j = 1; j <= m; ++j) {
            if (std::abs(i - j) > WarpBand) {
                current[j] = WarpInfinity;
                continue;
            }
            const float d = localDistance(x[i - 1], t[j - 1]);
            current[j] = std::min({previous[j] + d, current[j - 1] + d, previous[j - 1] + 2 * d});
        }
        std::swap(previous, current);
    }
    return previous[m];
}

} // namespace

float WarpDistance(const CFFTArray& x, const CFFTArray& t) {
    if (std::abs(x.GetSize() - t.GetSize()) > WarpBand) {
        return WarpInfinity;
    }
    const auto width = static_cast<std::size_t>(t.GetSize()) + 1;
    constexpr std::size_t StackWidth = 256;
    if (width <= StackWidth) {
        std::array<float, StackWidth> a, b;
        return warp(x, t, a.data(), b.data());
    }
    std::vector<float> a(width), b(width);
    return warp(x, t, a.data(), b.data());
}

} // namespace tessimo
