// Cutting sound into smoothed log-magnitude spectra, and the distance between two of them.
#pragma once

#include <cstdint>

#include "recognition/CFFT.h"
#include "recognition/CFFTArray.h"

namespace tessimo {

inline constexpr int FrameLength = 2048; // samples per frame, about 93 ms at 22000 Hz
inline constexpr int FrameHop = 1024;
inline constexpr int FrameValues = 512; // bins 0..511, 0 to about 5.49 kHz
inline constexpr int SmoothingWidth = 9;

// The Hamming window of FrameLength values, built on first use and kept for the life of the
// process (immutable once built). Any thread; the first call allocates.
const CFFT& WindowTable();

// The spectral frame of samples[0..2047] into frame (resized to 512 values): windowed, real
// FFT, natural log of each bin's magnitude (bin 0 combining bins 0 and 1024), smoothed over 9
// values. A bin of magnitude 0 gives minus infinity, which the smoothing spreads as
// non-finite values; such a frame is never close to anything (see FrameDistance).
// Allocates nothing once frame holds 512 values; any thread.
void AnalyseFrame(const std::int16_t* samples, CFFT& frame);
CFFT AnalyseFrame(const std::int16_t* samples);

// Appends the frames of a word of count samples: one every 1024 samples from 0, and a last
// one flush with the end when count - 2048 is not a multiple of 1024. Appends nothing when
// count < 2048. Any thread; allocates only when frames grows.
void AnalyseWord(const std::int16_t* samples, int count, CFFTArray& frames);

// Offsets of the frames AnalyseWord makes for a word of count samples, in order.
int FrameCount(int count);
int FrameOffset(int count, int index);

// Squared Euclidean distance between the values of a and b (over the shorter of the two),
// summed in double precision. Non-finite when either frame holds non-finite values.
// Any thread.
double FrameDistance(const CFFT& a, const CFFT& b);

} // namespace tessimo
