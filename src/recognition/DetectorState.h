// The states of the word detector, and the levels it compares.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessimo {

enum DetectorState : int {
    S_NO_RECON = 0,        // idle: buffers are ignored
    S_ATTENTE_ENERGIE = 1, // recognising: waiting for a buffer loud enough to start a word
    S_ATTENTE_FIN = 2,     // recognising: a word is under way, waiting for a quiet buffer
    S_BUFFER_SATURE = 3,   // recognising: the word grew too long and was dropped
    S_ENREG_BRUIT = 4,     // measuring the background noise from the next buffer
    S_ENREG_MOTS = 5,      // recording one word into a slot until capture stops
};

inline constexpr int CaptureBufferSamples = 4096; // about 186 ms at 22000 Hz
inline constexpr int SampleRate = 22000;
// A word under way is dropped once its slot holds more than this many bytes.
inline constexpr std::size_t MaxWordBytes = 70000;

// 100 times the mean absolute deviation from the mean of x[0..n-1], with the sums kept in
// single precision. 0 for n = 0. Any thread.
float BufferLevel(const std::int16_t* x, std::size_t n);

// The level a saturated detector compares: the sum of absolute deviations divided by the byte
// count, halved, times 100 (a quarter of BufferLevel). Any thread.
float SaturatedLevel(const std::int16_t* x, std::size_t n);

// 100 times the mean absolute value of x[0..n-1] (sum in single precision). Any thread.
float NoiseLevelOf(const std::int16_t* x, std::size_t n);

} // namespace tessimo
