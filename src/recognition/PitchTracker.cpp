#include "recognition/PitchTracker.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "recognition/RealFft.h"

namespace tessimo {
namespace {

constexpr double Rate = 22000.0;
constexpr float PeriodicThreshold = 0.15f; // the first dip below this is the period
constexpr float UnvoicedAbove = 0.45f;     // no dip this deep: no pitch
constexpr double QuietBelowLoudestDb = 30.0;
constexpr double Pi = 3.14159265358979;
// A sub-octave rank beneath a sound, in shares of the power of the sound's partials (the even
// multiples of the rank's frequency; see subOctaveRank). The rank stays below a third of it:
// a lowest partial that strong is the fundamental of a tone with a strong octave partial (a
// flute, a plucked string), named by it. The sound's own period is clear: the odd partials
// above the rank hold at most 3 % of its power (15 dB below). And the rank is the bottom of
// the sound: at most a ten-thousandth (40 dB below) lies at odd multiples of half its
// frequency. A string's stretched partials, or a noisy room, leave more there; the tracker's
// octave then stands, as it does whenever the partials are not that clear.
constexpr double RankAtMost = 1.0 / 3.0;
constexpr double OddPartialsAtMost = 1.0 / 32.0;
constexpr double BelowAtMost = 1.0 / 10000.0;
constexpr double PartialsBelowHz = 5000.0;
constexpr int MostHalfPartials = 32; // multiples of hz / 2 weighed

double pitchToHz(double pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0);
}

// Shortest and longest period searched, with a semitone of room around the tracked range.
const int MinLag = static_cast<int>(std::floor(Rate / pitchToHz(HighestTrackedPitch + 1)));
const int MaxLag = static_cast<int>(std::ceil(Rate / pitchToHz(LowestTrackedPitch - 1)));

} // namespace

PitchTracker::PitchTracker()
    : a_(PitchFrameLength), b_(PitchFrameLength), frame_(PitchFrameLength),
      r_(PitchFrameLength - PitchWindow + 1), d_(PitchFrameLength - PitchWindow + 1),
      partialWindow_(PartialWindow), windowed_(PartialWindow) {
    for (int i = 0; i < PartialWindow; ++i) {
        partialWindow_[static_cast<std::size_t>(i)] =
            static_cast<float>(0.5 - 0.5 * std::cos(2.0 * Pi * (i + 0.5) / PartialWindow));
    }
    frameNotes_.reserve(512);
    frameHz_.reserve(512);
}

bool PitchTracker::subOctaveRank(const std::int16_t* x, double hz) {
    for (int i = 0; i < PartialWindow; ++i) {
        windowed_[static_cast<std::size_t>(i)] = partialWindow_[static_cast<std::size_t>(i)] * x[i];
    }
    int multiples = 0; // of hz / 2, below PartialsBelowHz
    while (multiples < MostHalfPartials && (multiples + 1) * hz / 2.0 < PartialsBelowHz) {
        ++multiples;
    }
    // The power at each multiple k hz / 2 by the Goertzel recursion, four multiples at a time
    // (four independent recursions keep the processor busy).
    double rank = 0.0, even = 0.0, odd = 0.0, below = 0.0;
    for (int first = 1; first <= multiples; first += 4) {
        std::array<double, 4> coefficient{}, s1{}, s2{};
        for (int j = 0; j < 4; ++j) {
            coefficient[static_cast<std::size_t>(j)] =
                2.0 * std::cos(2.0 * Pi * (first + j) * hz / 2.0 / Rate);
        }
        for (int i = 0; i < PartialWindow; ++i) {
            const double v = windowed_[static_cast<std::size_t>(i)];
            for (std::size_t j = 0; j < 4; ++j) {
                const double s0 = v + coefficient[j] * s1[j] - s2[j];
                s2[j] = s1[j];
                s1[j] = s0;
            }
        }
        for (int j = 0; j < 4 && first + j <= multiples; ++j) {
            const auto u = static_cast<std::size_t>(j);
            const double power = s1[u] * s1[u] + s2[u] * s2[u] - coefficient[u] * s1[u] * s2[u];
            const int k = first + j;
            if (k % 2 == 1) {
                below += power; // odd multiples of hz / 2
            } else if (k == 2) {
                rank += power;
            } else if (k % 4 == 0) {
                even += power;
            } else {
                odd += power;
            }
        }
    }
    return even > 0.0 && rank <= RankAtMost * even && odd <= OddPartialsAtMost * even &&
           below <= BelowAtMost * even;
}

void PitchTracker::correlate(const float* x, float* r) {
    std::copy_n(x, PitchWindow, a_.begin());
    std::fill(a_.begin() + PitchWindow, a_.end(), 0.0f);
    std::copy_n(x, PitchFrameLength, b_.begin());
    RealFft(PitchFrameLength, 1, a_.data());
    RealFft(PitchFrameLength, 1, b_.data());
    // The transform's sine sums carry a plus sign, so the packed values A', B' are the
    // conjugates of the usual spectra A, B. The correlation's spectrum conj(A) B is
    // A' conj(B'), packed as its conjugate conj(A') B'; the inverse of the same convention
    // turns that back into the correlation, times n/2.
    a_[0] *= b_[0];
    a_[1] *= b_[1];
    for (int k = 1; k < PitchFrameLength / 2; ++k) {
        const float ar = a_[2 * k], ai = a_[2 * k + 1];
        const float br = b_[2 * k], bi = b_[2 * k + 1];
        a_[2 * k] = ar * br + ai * bi;
        a_[2 * k + 1] = ar * bi - ai * br;
    }
    RealFft(PitchFrameLength, -1, a_.data());
    const float scale = 2.0f / PitchFrameLength;
    for (int tau = 0; tau <= PitchFrameLength - PitchWindow; ++tau) {
        r[tau] = a_[static_cast<std::size_t>(tau)] * scale;
    }
}

PitchEstimate PitchTracker::estimate(const std::int16_t* x) {
    double mean = 0.0;
    for (int i = 0; i < PitchFrameLength; ++i) {
        mean += x[i];
    }
    mean /= PitchFrameLength;
    for (int i = 0; i < PitchFrameLength; ++i) {
        frame_[static_cast<std::size_t>(i)] = static_cast<float>(x[i] - mean);
    }
    correlate(frame_.data(), r_.data());
    // d(tau) = energy of the window + energy of the shifted window - 2 r(tau).
    const float* f = frame_.data();
    double shifted = 0.0;
    for (int j = 0; j < PitchWindow; ++j) {
        shifted += static_cast<double>(f[j]) * f[j];
    }
    const double energy = shifted;
    if (energy <= 0.0) {
        return {};
    }
    d_[0] = 0.0f;
    double running = 0.0;
    for (int tau = 1; tau <= MaxLag + 1; ++tau) {
        shifted += static_cast<double>(f[tau + PitchWindow - 1]) * f[tau + PitchWindow - 1] -
                   static_cast<double>(f[tau - 1]) * f[tau - 1];
        const double d = std::max(0.0, energy + shifted - 2.0 * r_[static_cast<std::size_t>(tau)]);
        running += d;
        d_[static_cast<std::size_t>(tau)] =
            running > 0.0 ? static_cast<float>(d * tau / running) : 1.0f;
    }
    int best = -1;
    for (int tau = MinLag; tau <= MaxLag; ++tau) {
        if (d_[static_cast<std::size_t>(tau)] < PeriodicThreshold) {
            while (tau + 1 <= MaxLag &&
                   d_[static_cast<std::size_t>(tau) + 1] < d_[static_cast<std::size_t>(tau)]) {
                ++tau;
            }
            best = tau;
            break;
        }
    }
    if (best < 0) {
        best = static_cast<int>(std::min_element(d_.begin() + MinLag, d_.begin() + MaxLag + 1) -
                                d_.begin());
        if (d_[static_cast<std::size_t>(best)] > UnvoicedAbove) {
            return {0.0f, d_[static_cast<std::size_t>(best)]};
        }
    }
    // Parabolic interpolation of the dip for a period between samples.
    double period = best;
    if (best > MinLag && best < MaxLag) {
        const double l = d_[static_cast<std::size_t>(best) - 1];
        const double c = d_[static_cast<std::size_t>(best)];
        const double r = d_[static_cast<std::size_t>(best) + 1];
        const double denominator = l - 2.0 * c + r;
        if (denominator > 0.0) {
            period += 0.5 * (l - r) / denominator;
        }
    }
    return {static_cast<float>(Rate / period), d_[static_cast<std::size_t>(best)]};
}

int PitchTracker::note(const std::int16_t* x, std::size_t count) {
    frameNotes_.clear();
    frameHz_.clear();
    if (count < static_cast<std::size_t>(PitchFrameLength)) {
        return -1;
    }
    const int frames = static_cast<int>((count - PitchFrameLength) / PitchHop) + 1;
    // Frames far below the loudest one are the silence around the note: left out.
    std::array<float, 512> levels{};
    const int counted = std::min(frames, static_cast<int>(levels.size()));
    float loudest = 0.0f;
    for (int f = 0; f < counted; ++f) {
        double squares = 0.0;
        const std::int16_t* p = x + static_cast<std::ptrdiff_t>(f) * PitchHop;
        for (int i = 0; i < PitchFrameLength; ++i) {
            squares += static_cast<double>(p[i]) * p[i];
        }
        levels[static_cast<std::size_t>(f)] =
            static_cast<float>(10.0 * std::log10(squares / PitchFrameLength + 1.0));
        loudest = std::max(loudest, levels[static_cast<std::size_t>(f)]);
    }
    for (int f = 0; f < counted; ++f) {
        int n = -1;
        float hz = 0.0f;
        if (levels[static_cast<std::size_t>(f)] >= loudest - QuietBelowLoudestDb) {
            const PitchEstimate e = estimate(x + static_cast<std::ptrdiff_t>(f) * PitchHop);
            if (e.hz > 0.0f) {
                const double pitch = 69.0 + 12.0 * std::log2(e.hz / 440.0);
                const double nearest = std::round(pitch);
                if (std::fabs(pitch - nearest) <= 0.4 && nearest >= LowestTrackedPitch &&
                    nearest <= HighestTrackedPitch) {
                    n = static_cast<int>(nearest);
                    hz = e.hz;
                }
            }
        }
        frameNotes_.push_back(n);
        frameHz_.push_back(hz);
    }
    // Frames in runs of at least StableFrames of one pitch class, counted per class.
    std::array<int, 12> held{};
    std::array<std::array<int, 12>, 12> octaves{}; // [class][octave] frames in stable runs
    int runStart = 0;
    for (int f = 1; f <= counted; ++f) {
        const int startNote = frameNotes_[static_cast<std::size_t>(runStart)];
        const bool same = f < counted && startNote >= 0 &&
                          frameNotes_[static_cast<std::size_t>(f)] >= 0 &&
                          frameNotes_[static_cast<std::size_t>(f)] % 12 == startNote % 12;
        if (same) {
            continue;
        }
        if (startNote >= 0 && f - runStart < StableFrames) {
            // Too short to count: left out of the partials' check below as well.
            std::fill(frameNotes_.begin() + runStart, frameNotes_.begin() + f, -1);
        } else if (startNote >= 0) {
            const int pc = startNote % 12;
            held[static_cast<std::size_t>(pc)] += f - runStart;
            for (int g = runStart; g < f; ++g) {
                ++octaves[static_cast<std::size_t>(pc)]
                         [static_cast<std::size_t>(frameNotes_[static_cast<std::size_t>(g)] / 12)];
            }
        }
        runStart = f;
    }
    const auto pc = static_cast<int>(std::max_element(held.begin(), held.end()) - held.begin());
    if (held[static_cast<std::size_t>(pc)] == 0) {
        return -1;
    }
    const auto& byOctave = octaves[static_cast<std::size_t>(pc)];
    const auto octave =
        static_cast<int>(std::max_element(byOctave.begin(), byOctave.end()) - byOctave.begin());
    const int named = octave * 12 + pc;
    if (named + 12 > HighestTrackedPitch || count < static_cast<std::size_t>(PartialWindow)) {
        return named;
    }
    // The octave once more, from the partials around the middle of the frames that named the
    // note, at their mean frequency: a rank an octave below a sound gives the sound's period
    // twice over, and a listener names the sound, not the rank.
    double hz = 0.0;
    int voting = 0;
    for (int f = 0; f < counted; ++f) {
        if (frameNotes_[static_cast<std::size_t>(f)] == named) {
            hz += frameHz_[static_cast<std::size_t>(f)];
            ++voting;
        }
    }
    int middle = 0;
    for (int f = 0, seen = 0; f < counted; ++f) {
        if (frameNotes_[static_cast<std::size_t>(f)] == named && seen++ == voting / 2) {
            middle = f;
            break;
        }
    }
    const std::ptrdiff_t centre =
        static_cast<std::ptrdiff_t>(middle) * PitchHop + PitchFrameLength / 2;
    const std::ptrdiff_t start = std::clamp<std::ptrdiff_t>(
        centre - PartialWindow / 2, 0, static_cast<std::ptrdiff_t>(count) - PartialWindow);
    return subOctaveRank(x + start, hz / voting) ? named + 12 : named;
}

} // namespace tessimo
