// The master volume of everything the program plays, synthesiser and recorded words alike, and
// the level the synthesiser is raised to before it. The audio thread applies both in place on
// every block: plain arithmetic, no allocation, lock or wait.
#pragma once

#include <atomic>
#include <cstddef>

namespace tessimo {

// The volume a new user starts with, in percent of the slider.
inline constexpr int DefaultVolumePercent = 70;
inline constexpr int MaxVolumePercent = 100;

// The synthesiser's own output is quiet (a single note at the exercises' velocity peaks near
// -23 dBFS): this raises it so that at the default volume a single note peaks near -10 dBFS.
// bench_volume prints the peaks of a note and of chords at the default volume.
inline constexpr float SynthLevel = 4.5f;

// The linear gain of a volume in percent: 0 is silent, DefaultVolumePercent is 1 (words play
// as recorded), 100 is about +6 dB. The square law spreads the slider evenly to the ear over
// its useful range. Out-of-range percents are clamped. Any thread.
float volumeGain(int percent) noexcept;

// Multiplies count samples by gain. Audio thread (or any thread on its own buffer).
void scaleSamples(float* samples, std::size_t count, float gain) noexcept;

// Multiplies count samples by gain and bends what would pass -1 dBFS smoothly towards full
// scale instead of letting the device clip it: a loud chord at a high volume is rounded off,
// not squared. Audio thread (or any thread on its own buffer).
void applyMasterGain(float* samples, std::size_t count, float gain) noexcept;

// The volume one output shares between the user-interface thread (which sets it) and the
// audio thread (which reads it once per block).
class MasterVolume {
public:
    // Any thread.
    void setPercent(int percent) noexcept {
        percent_.store(percent < 0                  ? 0
                       : percent > MaxVolumePercent ? MaxVolumePercent
                                                    : percent,
                       std::memory_order_relaxed);
        gain_.store(volumeGain(percent), std::memory_order_relaxed);
    }
    int percent() const noexcept { return percent_.load(std::memory_order_relaxed); }
    // Any thread, the audio thread included.
    float gain() const noexcept { return gain_.load(std::memory_order_relaxed); }

private:
    std::atomic<int> percent_{DefaultVolumePercent};
    std::atomic<float> gain_{1.0f};
};

} // namespace tessimo
