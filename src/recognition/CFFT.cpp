#include "recognition/CFFT.h"

#include <array>
#include <cmath>

namespace tessimo {
namespace {

// The value of pi the window weights are computed with.
constexpr double WindowPi = 3.141592654;

double windowWeight(std::string_view name, int i, int n) {
    const double x = 2.0 * WindowPi / n;
    if (name == "hamming") {
        return 0.53836 - 0.46164 * std::cos(x * (i + 0.5));
    }
    if (name == "hanning") {
        return 0.5 - 0.5 * std::cos(x * (i + 0.5));
    }
    if (name == "nuttall") {
        return 0.3635819 - 0.4891775 * std::cos(x * i) + 0.1365995 * std::cos(2 * x * i) -
               0.0106411 * std::cos(3 * x * i);
    }
    return 1.0 - 1.93 * std::cos(x * i) + 1.29 * std::cos(2 * x * i) - 0.388 * std::cos(3 * x * i) +
           0.032 * std::cos(4 * x * i);
}

void smooth(float* v, const float* in, int n, int w) {
    const int h = w / 2;
    if (n < 3) {
        return; // only end values, which stay
    }
    // Narrowing windows at both ends: 1, 3, 5, ... values centred on j.
    for (int j = 1; j < h && j < n - 1; ++j) {
        const int last = 2 * j;
        if (last > n - 1) {
            break;
        }
        float sum = 0.0f;
        for (int i = 0; i <= last; ++i) {
            sum += in[i];
        }
        v[j] = sum / static_cast<float>(last + 1);
    }
    for (int j = std::max(n - h, 1); j <= n - 2; ++j) {
        const int first = 2 * j - n + 1;
        if (first < 0) {
            continue;
        }
        float sum = 0.0f;
        for (int i = first; i < n; ++i) {
            sum += in[i];
        }
        v[j] = sum / static_cast<float>(n - first);
    }
    // Full windows, with a running sum: each step adds the entering value, then subtracts the
    // leaving one.
    if (n - 1 - h < h) {
        return;
    }
    const float scale = 1.0f / static_cast<float>(w);
    float sum = 0.0f;
    for (int i = 0; i < w; ++i) {
        sum += in[i];
    }
    v[h] = sum * scale;
    for (int j = h + 1; j <= n - 1 - h; ++j) {
        sum += in[j + h];
        sum -= in[j - h - 1];
        v[j] = sum * scale;
    }
}

} // namespace

void CFFT::ApplyWindow(std::string_view name) {
    if (name != "hamming" && name != "hanning" && name != "nuttall" && name != "flattop") {
        return;
    }
    const int n = size();
    for (int i = 0; i < n; ++i) {
        values_[static_cast<std::size_t>(i)] *= static_cast<float>(windowWeight(name, i, n));
    }
}

void CFFT::SmoothFrame(int width) {
    const int w = width % 2 == 0 ? width + 1 : width;
    const int n = size();
    if (w < 3 || n == 0) {
        return;
    }
    if (n <= 4096) {
        std::array<float, 4096> copy;
        std::copy(values_.begin(), values_.end(), copy.begin());
        smooth(values_.data(), copy.data(), n, w);
    } else {
        const std::vector<float> copy = values_;
        smooth(values_.data(), copy.data(), n, w);
    }
}

} // namespace tessimo
