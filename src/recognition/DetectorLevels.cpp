#include "recognition/DetectorState.h"

#include <cmath>

namespace tessimo {
namespace {

float sumOfDeviations(const std::int16_t* x, std::size_t n) {
    float sum = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        sum += static_cast<float>(x[i]);
    }
    const float mean = sum / static_cast<float>(n);
    float deviations = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        deviations += std::fabs(static_cast<float>(x[i]) - mean);
    }
    return deviations;
}

} // namespace

float BufferLevel(const std::int16_t* x, std::size_t n) {
    if (n == 0) {
        return 0.0f;
    }
    return 100.0f * sumOfDeviations(x, n) / static_cast<float>(n);
}

float SaturatedLevel(const std::int16_t* x, std::size_t n) {
    if (n == 0) {
        return 0.0f;
    }
    return sumOfDeviations(x, n) / static_cast<float>(2 * n) * 0.5f * 100.0f;
}

float NoiseLevelOf(const std::int16_t* x, std::size_t n) {
    if (n == 0) {
        return 0.0f;
    }
    float sum = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        sum += std::fabs(static_cast<float>(x[i]));
    }
    return 100.0f * sum / static_cast<float>(n);
}

} // namespace tessimo
