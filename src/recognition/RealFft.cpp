// The real transform is an n/2-point complex transform of the pairs (a[2j], a[2j+1]), done by
// radix-4 decimation in frequency (with one radix-2 stage when log2(n/2) is odd) and a
// bit-reversal permutation, followed by the step that separates the spectra of the even and
// odd samples. Twiddle factors are made on the fly: exact sine and cosine every 64 positions,
// rotations in double precision in between.
#include "recognition/RealFft.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <utility>

namespace tessimo {
namespace {

constexpr int TwiddleChunk = 64;
// Largest forward transform that copies its block to the stack (16 KiB) to skip the
// bit-reversal permutation; larger ones permute in place.
constexpr int ScratchSize = 4096;

// exp(i step j) for j = 0..TwiddleChunk-1, built by doubling: each level multiplies the
// entries found so far by one power-of-two rotation, so there is no long dependency chain.
struct Rotations {
    double re[TwiddleChunk], im[TwiddleChunk];

    explicit Rotations(double step) {
        re[0] = 1.0;
        im[0] = 0.0;
        double pr = std::cos(step), pi = std::sin(step);
        for (int p = 1; p < TwiddleChunk; p *= 2) {
            for (int j = 0; j < p; ++j) {
                re[p + j] = re[j] * pr - im[j] * pi;
                im[p + j] = re[j] * pi + im[j] * pr;
            }
            const double sr = pr * pr - pi * pi;
            pi = 2.0 * pr * pi;
            pr = sr;
        }
    }
};

struct Twiddles {
    float r1[TwiddleChunk], i1[TwiddleChunk];
    float r2[TwiddleChunk], i2[TwiddleChunk];
    float r3[TwiddleChunk], i3[TwiddleChunk];
};

// w^j for j = first..first+count-1, with w = exp(i step), and their squares and cubes; the
// first one exactly from sine and cosine, the others by the rotations.
void makeTwiddles(Twiddles& t, const Rotations& rot, int first, int count, double step) {
    const double c0 = std::cos(step * first);
    const double s0 = std::sin(step * first);
    for (int j = 0; j < count; ++j) {
        const double c = c0 * rot.re[j] - s0 * rot.im[j];
        const double s = c0 * rot.im[j] + s0 * rot.re[j];
        const double c2 = c * c - s * s;
        const double s2 = 2.0 * c * s;
        t.r1[j] = static_cast<float>(c);
        t.i1[j] = static_cast<float>(s);
        t.r2[j] = static_cast<float>(c2);
        t.i2[j] = static_cast<float>(s2);
        t.r3[j] = static_cast<float>(c2 * c - s2 * s);
        t.i3[j] = static_cast<float>(c2 * s + s2 * c);
    }
}

// One radix-2 decimation-in-frequency stage over blocks of m complex values.
template <bool Inverse> void radix2Stage(float* z, int count, int m) {
    const int half = m / 2;
    const double step = (Inverse ? -2.0 : 2.0) * std::numbers::pi / m;
    const Rotations rot(step);
    Twiddles t;
    for (int j0 = 0; j0 < half; j0 += TwiddleChunk) {
        const int len = std::min(TwiddleChunk, half - j0);
        makeTwiddles(t, rot, j0, len, step);
        for (int k = 0; k < count; k += m) {
            float* p0 = z + 2 * (k + j0);
            float* p1 = p0 + 2 * half;
            for (int j = 0; j < len; ++j) {
                const float ur = p0[2 * j], ui = p0[2 * j + 1];
                const float vr = p1[2 * j], vi = p1[2 * j + 1];
                const float dr = ur - vr, di = ui - vi;
                p0[2 * j] = ur + vr;
                p0[2 * j + 1] = ui + vi;
                p1[2 * j] = dr * t.r1[j] - di * t.i1[j];
                p1[2 * j + 1] = dr * t.i1[j] + di * t.r1[j];
            }
        }
    }
}

// The last radix-4 stage (blocks of 4): no twiddles.
template <bool Inverse> void radix4Last(float* z, int count) {
    for (int k = 0; k < count; k += 4) {
        float* p = z + 2 * k;
        const float t0r = p[0] + p[4], t0i = p[1] + p[5];
        const float t1r = p[0] - p[4], t1i = p[1] - p[5];
        const float t2r = p[2] + p[6], t2i = p[3] + p[7];
        // (x1 - x3) times +i (forward kernel) or -i (inverse kernel)
        float t3r = -(p[3] - p[7]), t3i = p[2] - p[6];
        if constexpr (Inverse) {
            t3r = -t3r;
            t3i = -t3i;
        }
        p[0] = t0r + t2r;
        p[1] = t0i + t2i;
        p[2] = t0r - t2r;
        p[3] = t0i - t2i;
        p[4] = t1r + t3r;
        p[5] = t1i + t3i;
        p[6] = t1r - t3r;
        p[7] = t1i - t3i;
    }
}

// One radix-4 decimation-in-frequency stage over blocks of m complex values. The outputs of
// the second and third quarter are swapped so that the result ends in bit-reversed order.
template <bool Inverse> void radix4Stage(float* z, int count, int m) {
    const int q = m / 4;
    const double step = (Inverse ? -2.0 : 2.0) * std::numbers::pi / m;
    const Rotations rot(step);
    Twiddles t;
    for (int j0 = 0; j0 < q; j0 += TwiddleChunk) {
        const int len = std::min(TwiddleChunk, q - j0);
        makeTwiddles(t, rot, j0, len, step);
        for (int k = 0; k < count; k += m) {
            float* p0 = z + 2 * (k + j0);
            float* p1 = p0 + 2 * q;
            float* p2 = p1 + 2 * q;
            float* p3 = p2 + 2 * q;
            for (int j = 0; j < len; ++j) {
                const float x0r = p0[2 * j], x0i = p0[2 * j + 1];
                const float x1r = p1[2 * j], x1i = p1[2 * j + 1];
                const float x2r = p2[2 * j], x2i = p2[2 * j + 1];
                const float x3r = p3[2 * j], x3i = p3[2 * j + 1];
                const float t0r = x0r + x2r, t0i = x0i + x2i;
                const float t1r = x0r - x2r, t1i = x0i - x2i;
                const float t2r = x1r + x3r, t2i = x1i + x3i;
                float t3r = -(x1i - x3i), t3i = x1r - x3r;
                if constexpr (Inverse) {
                    t3r = -t3r;
                    t3i = -t3i;
                }
                const float y1r = t1r + t3r, y1i = t1i + t3i;
                const float y2r = t0r - t2r, y2i = t0i - t2i;
                const float y3r = t1r - t3r, y3i = t1i - t3i;
                p0[2 * j] = t0r + t2r;
                p0[2 * j + 1] = t0i + t2i;
                p1[2 * j] = y2r * t.r2[j] - y2i * t.i2[j];
                p1[2 * j + 1] = y2r * t.i2[j] + y2i * t.r2[j];
                p2[2 * j] = y1r * t.r1[j] - y1i * t.i1[j];
                p2[2 * j + 1] = y1r * t.i1[j] + y1i * t.r1[j];
                p3[2 * j] = y3r * t.r3[j] - y3i * t.i3[j];
                p3[2 * j + 1] = y3r * t.i3[j] + y3i * t.r3[j];
            }
        }
    }
}

// Swaps pair i with pair reverse(i). The reversed counter j is advanced without a loop: adding
// one to i flips its trailing ones and the zero above them, so j flips the mirror image of
// those bits.
void bitReverse(float* z, int count) {
    unsigned j = 0;
    for (unsigned i = 0; i + 1 < static_cast<unsigned>(count); ++i) {
        if (i < j) {
            std::uint64_t pi, pj;
            std::memcpy(&pi, z + 2 * i, sizeof pi);
            std::memcpy(&pj, z + 2 * j, sizeof pj);
            std::memcpy(z + 2 * i, &pj, sizeof pj);
            std::memcpy(z + 2 * j, &pi, sizeof pi);
        }
        j ^= static_cast<unsigned>(count) -
             (static_cast<unsigned>(count) >> (std::countr_zero(i + 1) + 1));
    }
}

// Complex transform of count pairs with kernel exp(+2 pi i jk/count) (forward) or
// exp(-2 pi i jk/count) (inverse), unscaled, natural order in and out.
template <bool Inverse> void complexStages(float* z, int count) {
    if (count < 2) {
        return;
    }
    int m = count;
    int log2 = 0;
    while ((1 << log2) < count) {
        ++log2;
    }
    if (log2 % 2 != 0) {
        radix2Stage<Inverse>(z, count, m);
        m /= 2;
    }
    for (; m > 4; m /= 4) {
        radix4Stage<Inverse>(z, count, m);
    }
    if (m == 4) {
        radix4Last<Inverse>(z, count);
    }
}

// Forward separation reading the complex spectrum in bit-reversed order from z and writing the
// packed real spectrum to a, which spares the bit-reversal permutation and its unpredictable
// branches. Also does the final butterfly of bins 0 and n/2.
void separateFromBitReversed(const float* z, float* a, int n) {
    const unsigned half = static_cast<unsigned>(n) / 2;
    a[0] = z[0] + z[1];
    a[1] = z[0] - z[1];
    if (half < 2) {
        return;
    }
    a[half] = z[2]; // bin half/2 sits at position 1 = reverse(half/2)
    a[half + 1] = z[3];
    const double step = 2.0 * std::numbers::pi / n;
    const Rotations rot(step);
    float wr[TwiddleChunk], wi[TwiddleChunk];
    unsigned previous = 0;       // reverse(k - 1)
    unsigned current = half / 2; // reverse(k)
    for (unsigned k0 = 0; k0 < half / 2; k0 += TwiddleChunk) {
        const double c0 = std::cos(step * k0), s0 = std::sin(step * k0);
        const unsigned len = std::min<unsigned>(TwiddleChunk, half / 2 - k0);
        for (unsigned j = 0; j < len; ++j) {
            wr[j] = static_cast<float>(c0 * rot.re[j] - s0 * rot.im[j]);
            wi[j] = static_cast<float>(c0 * rot.im[j] + s0 * rot.re[j]);
        }
        for (unsigned j = k0 == 0 ? 1 : 0; j < len; ++j) {
            const unsigned k = k0 + j;
            const float* x = z + 2 * current;
            const float* y = z + 2 * ((half - 1) ^ previous); // reverse(half - k)
            const float c = wr[j], s = wi[j];
            const float ar = x[0], ai = x[1], br = y[0], bi = y[1];
            const float er = 0.5f * (ar + br), ei = 0.5f * (ai - bi);
            const float hr = 0.5f * (ai + bi), hi = 0.5f * (br - ar);
            const float tr = c * hr - s * hi, ti = c * hi + s * hr;
            a[2 * k] = er + tr;
            a[2 * k + 1] = ei + ti;
            a[2 * (half - k)] = er - tr;
            a[2 * (half - k) + 1] = ti - ei;
            previous = current;
            current ^= half - (half >> (std::countr_zero(k + 1) + 1));
        }
    }
}

// Separates the spectra of the even and odd samples (forward) or joins them again (inverse),
// for the pairs of bins k and half - k, k = 1..half/2 - 1; bin half/2 is left as it is.
template <bool Inverse> void separate(float* a, int n) {
    const int half = n / 2;
    const double step = 2.0 * std::numbers::pi / n;
    const Rotations rot(step);
    float wr[TwiddleChunk], wi[TwiddleChunk];
    for (int k0 = 0; k0 < half / 2; k0 += TwiddleChunk) {
        const double c0 = std::cos(step * k0), s0 = std::sin(step * k0);
        const int len = std::min(TwiddleChunk, half / 2 - k0);
        for (int j = 0; j < len; ++j) {
            wr[j] = static_cast<float>(c0 * rot.re[j] - s0 * rot.im[j]);
            wi[j] = static_cast<float>(c0 * rot.im[j] + s0 * rot.re[j]);
        }
        for (int j = k0 == 0 ? 1 : 0; j < len; ++j) {
            const int k = k0 + j;
            const float c = wr[j], s = wi[j];
            float* x = a + 2 * k;
            float* y = a + 2 * (half - k);
            const float ar = x[0], ai = x[1], br = y[0], bi = y[1];
            const float er = 0.5f * (ar + br), ei = 0.5f * (ai - bi);
            if constexpr (!Inverse) {
                const float hr = 0.5f * (ai + bi), hi = 0.5f * (br - ar);
                const float tr = c * hr - s * hi, ti = c * hi + s * hr;
                x[0] = er + tr;
                x[1] = ei + ti;
                y[0] = er - tr;
                y[1] = ti - ei;
            } else {
                const float dr = 0.5f * (ar - br), di = 0.5f * (ai + bi);
                const float orr = c * dr + s * di, oi = c * di - s * dr;
                x[0] = er - oi;
                x[1] = ei + orr;
                y[0] = er + oi;
                y[1] = orr - ei;
            }
        }
    }
}

} // namespace

bool IsRealFftSize(int n) {
    return n >= 2 && (n & (n - 1)) == 0;
}

void RealFft(int n, int direction, float* a) {
    if (!IsRealFftSize(n)) {
        return;
    }
    const int half = n / 2;
    if (direction >= 0) {
        complexStages<false>(a, half);
        if (n <= ScratchSize) {
            float z[ScratchSize];
            std::memcpy(z, a, sizeof(float) * static_cast<unsigned>(n));
            separateFromBitReversed(z, a, n);
        } else {
            bitReverse(a, half);
            separate<false>(a, n);
            const float sum = a[0] + a[1];
            a[1] = a[0] - a[1];
            a[0] = sum;
        }
    } else {
        a[1] = 0.5f * (a[0] - a[1]);
        a[0] -= a[1];
        separate<true>(a, n);
        complexStages<true>(a, half);
        bitReverse(a, half);
    }
}

} // namespace tessimo
