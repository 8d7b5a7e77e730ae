#include "sound/MasterVolume.h"

#include <cmath>

namespace tessimo {

namespace {

// Samples up to the knee (-1 dBFS) pass unchanged; above it they approach full scale.
constexpr float Knee = 0.891f;

} // namespace

float volumeGain(int percent) noexcept {
    if (percent <= 0)
        return 0.0f;
    const float p = static_cast<float>(percent > MaxVolumePercent ? MaxVolumePercent : percent);
    const float relative = p / static_cast<float>(DefaultVolumePercent);
    return relative * relative;
}

void scaleSamples(float* samples, std::size_t count, float gain) noexcept {
    for (std::size_t i = 0; i < count; ++i)
        samples[i] *= gain;
}

void applyMasterGain(float* samples, std::size_t count, float gain) noexcept {
    constexpr float room = 1.0f - Knee;
    for (std::size_t i = 0; i < count; ++i) {
        const float x = samples[i] * gain;
        const float magnitude = std::fabs(x);
        if (magnitude <= Knee) {
            samples[i] = x;
            continue;
        }
        const float bent = Knee + room * std::tanh((magnitude - Knee) / room);
        samples[i] = x < 0 ? -bent : bent;
    }
}

} // namespace tessimo
