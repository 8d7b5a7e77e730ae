// In-place real discrete Fourier transform of a power-of-two block of floats.
#pragma once

namespace tessimo {

// Forward (direction >= 0) or unscaled inverse (direction < 0) transform of a[0..n-1],
// n a power of two, n >= 2 (other sizes leave a unchanged).
//
// Forward, with R[k] = sum x[j] cos(2 pi jk/n) and I[k] = +sum x[j] sin(2 pi jk/n):
//   a[0] = R[0], a[1] = R[n/2], a[2k] = R[k], a[2k+1] = I[k] for 0 < k < n/2.
// The inverse takes that packing and returns n/2 times the original block.
//
// Arithmetic in single precision; the twiddle factors are derived in double precision for
// every call. Allocates nothing on the heap (up to 16 KiB of stack), keeps no tables and no state
// between calls: safe on the capture thread and on any number of threads at once (each with its own
// block).
void RealFft(int n, int direction, float* a);

// True when n is a size RealFft transforms.
bool IsRealFftSize(int n);

} // namespace tessimo
