#include "audio_devices/LevelAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tessimo {

namespace {

constexpr double FullScale = 32768.0;
// 0.1 dB under full scale: a converter that clips delivers its largest code, or one short of it.
constexpr int ClipMagnitude = 32393;

double toDb(double linear) {
    return linear > 0 ? std::max(SilenceDb, 20.0 * std::log10(linear)) : SilenceDb;
}

// The value below which the given fraction of sorted values lies.
double quantile(std::vector<double> values, double fraction) {
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at),
                     values.end());
    return values[at];
}

} // namespace

BlockLevel measureLevel(const std::int16_t* samples, std::size_t count) {
    BlockLevel level;
    if (count == 0)
        return level;
    double energy = 0;
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int s = samples[i];
        energy += static_cast<double>(s) * s;
        peak = std::max(peak, std::abs(s));
    }
    level.rmsDb = toDb(std::sqrt(energy / static_cast<double>(count)) / FullScale);
    level.peakDb = toDb(peak / FullScale);
    level.clipped = peak >= ClipMagnitude;
    return level;
}

void TakeAnalysis::add(const std::int16_t* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const int s = samples[i];
        if (std::abs(s) >= ClipMagnitude)
            clipped_ = true;
        frameEnergy_ += static_cast<double>(s) * s;
        if (++frameFill_ == FrameSamples) {
            frameDb_.push_back(
                toDb(std::sqrt(frameEnergy_ / static_cast<double>(FrameSamples)) / FullScale));
            frameEnergy_ = 0;
            frameFill_ = 0;
        }
    }
}

TakeLevels TakeAnalysis::result() const {
    TakeLevels levels;
    levels.clipped = clipped_;
    if (frameDb_.empty())
        return levels;
    levels.noiseFloorDb = quantile(frameDb_, 0.10);
    levels.speechDb = quantile(frameDb_, 0.95);
    levels.marginDb = levels.speechDb - levels.noiseFloorDb;
    if (levels.speechDb < QuietBelowDb)
        levels.verdict = TakeVerdict::TooQuiet;
    else if (levels.marginDb < NoisyBelowDb)
        levels.verdict = TakeVerdict::TooNoisy;
    else
        levels.verdict = TakeVerdict::Good;
    return levels;
}

void TakeAnalysis::clear() {
    frameDb_.clear();
    frameEnergy_ = 0;
    frameFill_ = 0;
    clipped_ = false;
}

const char* verdictText(TakeVerdict verdict) {
    switch (verdict) {
    case TakeVerdict::TooShort:
        return "nothing heard";
    case TakeVerdict::TooQuiet:
        return "too quiet";
    case TakeVerdict::TooNoisy:
        return "too noisy for voice answers";
    case TakeVerdict::Good:
        return "good";
    }
    return "";
}

} // namespace tessimo
