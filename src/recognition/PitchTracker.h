// Naming the pitch of a played note without any recording: the fundamental of each short frame
// by the cumulative mean normalised difference (the YIN method), its autocorrelation computed
// with the program's real FFT; then one note per sound, named only when several consecutive
// frames agree on it, with its octave decided once over those frames and checked once against
// the note's partials (a sub-octave rank beneath a sound is not its pitch).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessimo {

inline constexpr int PitchFrameLength = 2048;
inline constexpr int PitchWindow = 1024; // samples compared with their shifted copy
inline constexpr int PitchHop = 512;
inline constexpr int LowestTrackedPitch = 36;
inline constexpr int HighestTrackedPitch = 83;

struct PitchEstimate {
    float hz = 0.0f;           // 0 when the frame has no clear period
    float aperiodicity = 1.0f; // normalised difference at the chosen period, 0 = periodic
};

class PitchTracker {
public:
    PitchTracker(); // allocates its work buffers; everything after allocates nothing

    // The fundamental of x[0..PitchFrameLength-1] at 22000 Hz, searched for the pitches
    // LowestTrackedPitch..HighestTrackedPitch (with a semitone of room). Thread of the owner.
    PitchEstimate estimate(const std::int16_t* x);

    // The note of a whole sound of count samples: the pitch 36..83 on which at least
    // StableFrames consecutive frames agree (within 40 cents of it), the pitch class held by
    // the most such frames and its octave chosen once by those frames' majority; -1 when no
    // pitch is held that long. A note whose partials are a sound at twice its frequency plus a
    // sub-octave rank (see SubOctaveRank) is named an octave higher. Thread of the owner.
    int note(const std::int16_t* x, std::size_t count);

    static constexpr int StableFrames = 4;     // about 93 ms
    static constexpr int PartialWindow = 4096; // samples weighed for the partials, 186 ms

    // Whether the PartialWindow samples at x, of fundamental hz, are essentially a sound
    // periodic at half the period plus a rank an octave below it: the partial at hz (the
    // rank) is below a third of the power of the even partials (2 hz, 4 hz, ...: the sound an
    // octave up), the odd partials above it (3 hz, 5 hz, ...) hold at most 3 % of that power,
    // and nothing lies beneath the rank or between its partials (odd multiples of hz / 2, at
    // most 40 dB below). Exposed for its test. Thread of the owner.
    bool subOctaveRank(const std::int16_t* x, double hz);

    // Cross-correlation r[tau] = sum over j < PitchWindow of x[j] x[j + tau], for tau in
    // 0..PitchFrameLength - PitchWindow, through the FFT. Exposed for its test. Thread of the
    // owner.
    void correlate(const float* x, float* r);

private:
    std::vector<float> a_, b_, frame_, r_, d_;
    std::vector<float> partialWindow_; // Hann window of PartialWindow samples
    std::vector<float> windowed_;      // the samples weighed for the partials, windowed
    std::vector<int> frameNotes_;
    std::vector<float> frameHz_;
};

} // namespace tessimo
