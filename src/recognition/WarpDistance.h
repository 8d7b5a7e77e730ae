// Dynamic time warping between two frame sequences.
#pragma once

#include "recognition/CFFTArray.h"

namespace tessimo {

// The distance that stands for "no match": the single-precision value of 1e20.
inline constexpr float WarpInfinity = 1e20f;
// Frames of the two words may be at most this far apart in index along the path, and the
// words at most this many frames apart in length.
inline constexpr int WarpBand = 4;
// A best distance up to this (inclusive) is a recognised word.
inline constexpr float AcceptanceDistance = 20000.0f;

// Cost of the cheapest warping path from (0,0) to (n,m) between input x (n frames) and
// template t (m frames): horizontal and vertical steps cost the local distance d (the
// Euclidean distance of two frames, in single precision), diagonal steps 2d, cells more than
// WarpBand apart are forbidden. WarpInfinity when the lengths differ by more than WarpBand.
// A local distance that is not finite (a frame of silence) counts as WarpInfinity, so any
// path through it costs at least WarpInfinity. Not divided by the path length.
// Allocates nothing for sequences of up to 255 frames. Any thread.
float WarpDistance(const CFFTArray& x, const CFFTArray& t);

} // namespace tessimo
