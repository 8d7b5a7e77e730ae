// The real transform is an n/2-point complex transform of the pairs (a[2j], a[2j+1]), done by
// radix-4 decimation in frequency (with one radix-2 stage when log2(n/2) is odd) and a
// bit-reversal permutation, followed by the step that separates the spectra of the even and
// odd samples. Twiddle factors are made on the fly for every call, 64 at a time: the first of
// each 64 by a rotation in double precision (exact sine and cosine every 1024 positions), the
// others from it and 64 rotations made by doubling.
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
// Largest forward transform done in split arrays on the stack (four blocks of n/2 floats,
// 16 KiB); larger ones work in place.
constexpr int SplitSize = 2048;

// exp(i step j) for j = 0..TwiddleChunk-1, built in double precision by doubling (each level
// multiplies the entries found so far by one power-of-two rotation, so there is no long
// dependency chain), kept in single precision; and exp(i step TwiddleChunk).
struct Rotations {
    float re[TwiddleChunk], im[TwiddleChunk];
    double chunkRe, chunkIm;

    explicit Rotations(double step) {
        double r[TwiddleChunk], m[TwiddleChunk];
        r[0] = 1.0;
        m[0] = 0.0;
        double pr = std::cos(step), pi = std::sin(step);
        for (int p = 1; p < TwiddleChunk; p *= 2) {
            for (int j = 0; j < p; ++j) {
                r[p + j] = r[j] * pr - m[j] * pi;
                m[p + j] = r[j] * pi + m[j] * pr;
            }
            const double sr = pr * pr - pi * pi;
            pi = 2.0 * pr * pi;
            pr = sr;
        }
        for (int j = 0; j < TwiddleChunk; ++j) {
            re[j] = static_cast<float>(r[j]);
            im[j] = static_cast<float>(m[j]);
        }
        chunkRe = pr;
        chunkIm = pi;
    }
};

// exp(i step first) for first = 0, TwiddleChunk, 2 TwiddleChunk, ...: exact sine and cosine
// every 16 chunks, a rotation in double precision in between.
class ChunkStart {
public:
    ChunkStart(double step, const Rotations& rot) : step_(step), rot_(rot) {}
    double c() const { return c_; }
    double s() const { return s_; }
    void next() {
        ++index_;
        if (index_ % 16 == 0) {
            c_ = std::cos(step_ * index_ * TwiddleChunk);
            s_ = std::sin(step_ * index_ * TwiddleChunk);
        } else {
            const double c = c_ * rot_.chunkRe - s_ * rot_.chunkIm;
            s_ = c_ * rot_.chunkIm + s_ * rot_.chunkRe;
            c_ = c;
        }
    }

private:
    double step_;
    const Rotations& rot_;
    double c_ = 1.0, s_ = 0.0;
    int index_ = 0;
};

struct Twiddles {
    float r1[TwiddleChunk], i1[TwiddleChunk];
    float r2[TwiddleChunk], i2[TwiddleChunk];
    float r3[TwiddleChunk], i3[TwiddleChunk];
};

// w^j for the count positions of a chunk, with w = exp(i step), and their squares and cubes:
// the chunk's start times the rotations, in single precision.
void makeTwiddles(Twiddles& t, const Rotations& rot, const ChunkStart& start, int count) {
    const auto c0 = static_cast<float>(start.c());
    const auto s0 = static_cast<float>(start.s());
    for (int j = 0; j < count; ++j) {
        const float c = c0 * rot.re[j] - s0 * rot.im[j];
        const float s = c0 * rot.im[j] + s0 * rot.re[j];
        const float c2 = c * c - s * s;
        const float s2 = 2.0f * c * s;
        t.r1[j] = c;
        t.i1[j] = s;
        t.r2[j] = c2;
        t.i2[j] = s2;
        t.r3[j] = c2 * c - s2 * s;
        t.i3[j] = c2 * s + s2 * c;
    }
}

// Runs the butterflies of one stage over blocks of m complex values, width positions of each
// block at a time in chunks of TwiddleChunk: butterflies(offset, t, len) handles positions
// offset .. offset + len - 1 of a block, with the twiddles of those positions in t.
template <typename Butterflies>
void forEachTwiddleChunk(double step, int width, int count, int m, Butterflies butterflies) {
    const Rotations rot(step);
    Twiddles t;
    ChunkStart start(step, rot);
    for (int j0 = 0; j0 < width; j0 += TwiddleChunk, start.next()) {
        const int len = std::min(TwiddleChunk, width - j0);
        makeTwiddles(t, rot, start, len);
        for (int k = 0; k < count; k += m) {
            butterflies(k + j0, t, len);
        }
    }
}

// One radix-2 decimation-in-frequency stage over blocks of m complex values.
template <bool Inverse> void radix2Stage(float* z, int count, int m) {
    const int half = m / 2;
    const double step = (Inverse ? -2.0 : 2.0) * std::numbers::pi / m;
    forEachTwiddleChunk(step, half, count, m, [z, half](int offset, const Twiddles& t, int len) {
        float* p0 = z + 2 * offset;
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
    });
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
    forEachTwiddleChunk(step, q, count, m, [z, q](int offset, const Twiddles& t, int len) {
        float* p0 = z + 2 * offset;
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
    });
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

// Separates the spectra of the even and odd samples (forward) or joins them again (inverse),
// for the pairs of bins k and half - k, k = 1..half/2 - 1; bin half/2 is left as it is.
template <bool Inverse> void separate(float* a, int n) {
    const int half = n / 2;
    const double step = 2.0 * std::numbers::pi / n;
    const Rotations rot(step);
    float wr[TwiddleChunk], wi[TwiddleChunk];
    ChunkStart start(step, rot);
    for (int k0 = 0; k0 < half / 2; k0 += TwiddleChunk, start.next()) {
        const auto c0 = static_cast<float>(start.c()), s0 = static_cast<float>(start.s());
        const int len = std::min(TwiddleChunk, half / 2 - k0);
        for (int j = 0; j < len; ++j) {
            wr[j] = c0 * rot.re[j] - s0 * rot.im[j];
            wi[j] = c0 * rot.im[j] + s0 * rot.re[j];
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

// The forward transform of 8 <= n <= SplitSize works on the real and imaginary parts in
// separate arrays on the stack, where every butterfly stage is plain vector arithmetic.
struct Split {
    float* re;
    float* im;
};

void butterflies2(float* __restrict r0, float* __restrict i0, float* __restrict r1,
                  float* __restrict i1, const Twiddles& t, int len) {
    for (int j = 0; j < len; ++j) {
        const float dr = r0[j] - r1[j], di = i0[j] - i1[j];
        r0[j] += r1[j];
        i0[j] += i1[j];
        r1[j] = dr * t.r1[j] - di * t.i1[j];
        i1[j] = dr * t.i1[j] + di * t.r1[j];
    }
}

void radix2StageSplit(Split z, int count, int m) {
    const int half = m / 2;
    const double step = 2.0 * std::numbers::pi / m;
    forEachTwiddleChunk(step, half, count, m, [z, half](int offset, const Twiddles& t, int len) {
        float* r = z.re + offset;
        float* i = z.im + offset;
        butterflies2(r, i, r + half, i + half, t, len);
    });
}

// The butterflies of one radix-4 group, over len positions. The quarters never overlap; saying
// so lets the compiler vectorise without run-time alias checks.
void butterflies4(float* __restrict r0, float* __restrict i0, float* __restrict r1,
                  float* __restrict i1, float* __restrict r2, float* __restrict i2,
                  float* __restrict r3, float* __restrict i3, const Twiddles& t, int len) {
    for (int j = 0; j < len; ++j) {
        const float t0r = r0[j] + r2[j], t0i = i0[j] + i2[j];
        const float t1r = r0[j] - r2[j], t1i = i0[j] - i2[j];
        const float t2r = r1[j] + r3[j], t2i = i1[j] + i3[j];
        const float t3r = i3[j] - i1[j], t3i = r1[j] - r3[j]; // (x1 - x3) times i
        const float y1r = t1r + t3r, y1i = t1i + t3i;
        const float y2r = t0r - t2r, y2i = t0i - t2i;
        const float y3r = t1r - t3r, y3i = t1i - t3i;
        r0[j] = t0r + t2r;
        i0[j] = t0i + t2i;
        r1[j] = y2r * t.r2[j] - y2i * t.i2[j];
        i1[j] = y2r * t.i2[j] + y2i * t.r2[j];
        r2[j] = y1r * t.r1[j] - y1i * t.i1[j];
        i2[j] = y1r * t.i1[j] + y1i * t.r1[j];
        r3[j] = y3r * t.r3[j] - y3i * t.i3[j];
        i3[j] = y3r * t.i3[j] + y3i * t.r3[j];
    }
}

void radix4StageSplit(Split z, int count, int m) {
    const int q = m / 4;
    const double step = 2.0 * std::numbers::pi / m;
    forEachTwiddleChunk(step, q, count, m, [z, q](int offset, const Twiddles& t, int len) {
        float* r = z.re + offset;
        float* i = z.im + offset;
        butterflies4(r, i, r + q, i + q, r + 2 * q, i + 2 * q, r + 3 * q, i + 3 * q, t, len);
    });
}

// The last radix-4 stage, writing to out in natural order: the four outputs of group g go to
// reverse(g) + j count/4 (j = 0, 2, 1, 3 in the order they are computed), which is the
// bit-reversal permutation done on the way.
void radix4LastSplit(Split z, Split out, unsigned count) {
    const unsigned groups = count / 4;
    unsigned r = 0; // reverse(g) over log2(groups) bits
    for (unsigned g = 0; g < groups; ++g) {
        const float* p = z.re + 4 * g;
        const float* u = z.im + 4 * g;
        const float t0r = p[0] + p[2], t0i = u[0] + u[2];
        const float t1r = p[0] - p[2], t1i = u[0] - u[2];
        const float t2r = p[1] + p[3], t2i = u[1] + u[3];
        const float t3r = u[3] - u[1], t3i = p[1] - p[3];
        out.re[r] = t0r + t2r;
        out.im[r] = t0i + t2i;
        out.re[r + 2 * groups] = t0r - t2r;
        out.im[r + 2 * groups] = t0i - t2i;
        out.re[r + groups] = t1r + t3r;
        out.im[r + groups] = t1i + t3i;
        out.re[r + 3 * groups] = t1r - t3r;
        out.im[r + 3 * groups] = t1i - t3i;
        if (g + 1 < groups) {
            r ^= groups - (groups >> (std::countr_zero(g + 1) + 1));
        }
    }
}

// Separation of the complex spectrum z (natural order) into the packed real spectrum a. Every
// bin k = 1..half-1 is computed on its own from z[k] and z[half-k], so that all stores run
// forwards.
void separateSplit(Split z, float* __restrict a, int n) {
    const int half = n / 2;
    const float* __restrict zr = z.re;
    const float* __restrict zi = z.im;
    const double step = 2.0 * std::numbers::pi / n;
    const Rotations rot(step);
    float wr[TwiddleChunk], wi[TwiddleChunk];
    ChunkStart start(step, rot);
    for (int k0 = 0; k0 < half; k0 += TwiddleChunk, start.next()) {
        const auto c0 = static_cast<float>(start.c()), s0 = static_cast<float>(start.s());
        const int len = std::min(TwiddleChunk, half - k0);
        for (int j = 0; j < len; ++j) {
            wr[j] = c0 * rot.re[j] - s0 * rot.im[j];
            wi[j] = c0 * rot.im[j] + s0 * rot.re[j];
        }
        const int first = k0 == 0 ? 1 : 0;
        float* __restrict out = a + 2 * k0;
        const float* __restrict xr = zr + k0;
        const float* __restrict xi = zi + k0;
        for (int j = first; j < len; ++j) {
            const float ar = xr[j], ai = xi[j];
            const float br = zr[half - k0 - j], bi = zi[half - k0 - j];
            const float er = 0.5f * (ar + br), ei = 0.5f * (ai - bi);
            const float hr = 0.5f * (ai + bi), hi = 0.5f * (br - ar);
            out[2 * j] = er + (wr[j] * hr - wi[j] * hi);
            out[2 * j + 1] = ei + (wr[j] * hi + wi[j] * hr);
        }
    }
    a[0] = zr[0] + zi[0];
    a[1] = zr[0] - zi[0];
}

void forwardSplit(float* a, int n) {
    const int count = n / 2;
    float re[SplitSize / 2], im[SplitSize / 2], zr[SplitSize / 2], zi[SplitSize / 2];
    for (int j = 0; j < count; ++j) {
        re[j] = a[2 * j];
        im[j] = a[2 * j + 1];
    }
    const Split z{re, im};
    int m = count;
    if (std::countr_zero(static_cast<unsigned>(count)) % 2 != 0) {
        radix2StageSplit(z, count, m);
        m /= 2;
    }
    for (; m > 4; m /= 4) {
        radix4StageSplit(z, count, m);
    }
    radix4LastSplit(z, Split{zr, zi}, static_cast<unsigned>(count));
    separateSplit(Split{zr, zi}, a, n);
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
        if (n >= 8 && n <= SplitSize) {
            forwardSplit(a, n);
        } else {
            complexStages<false>(a, half);
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
