#include "recognition/WordFeatures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "recognition/RealFft.h"
#include "recognition/WarpDistance.h"

namespace tessimo {
namespace {

constexpr double BinHz = 22000.0 / FeatureWindow;
constexpr double LowestHz = 80.0;
constexpr double HighestHz = 5400.0;
// Frames more than this far below the loudest one (in natural log of power: 30 dB) are left
// out at the ends of a word; so are frames close to the quietest one when the word holds
// silence or noise around it.
constexpr float KeepBelowPeak = 6.9f;
constexpr float KeepAboveQuietest = 1.4f; // 6 dB
constexpr float NoiseSpan = 3.45f;        // 15 dB: a word with less range holds no noise frames
constexpr float LevelWeight = 0.5f;       // c0 counts less than the shape of the spectrum
constexpr float RoomFloor = 1.0f;         // the floor of a word heard in a room, in room powers

double mel(double hz) {
    return 2595.0 * std::log10(1.0 + hz / 700.0);
}

struct MelBank {
    // For each band, its first bin and the weights of the bins from there.
    std::array<int, MelBandCount> first{};
    std::array<std::vector<float>, MelBandCount> weights;
    std::array<std::array<float, MelBandCount>, CepstralCount> dct{};
};

const std::array<float, FeatureWindow>& FeatureWindowTable() {
    static const std::array<float, FeatureWindow> table = [] {
        std::array<float, FeatureWindow> t{};
        for (int i = 0; i < FeatureWindow; ++i) {
            t[static_cast<std::size_t>(i)] = static_cast<float>(
                0.54 - 0.46 * std::cos(2.0 * 3.14159265358979 * (i + 0.5) / FeatureWindow));
        }
        return t;
    }();
    return table;
}

const MelBank& Bank() {
    static const MelBank bank = [] {
        MelBank b;
        const double lo = mel(LowestHz), hi = mel(HighestHz);
        std::array<double, MelBandCount + 2> edges{};
        for (int i = 0; i < MelBandCount + 2; ++i) {
            const double m = lo + (hi - lo) * i / (MelBandCount + 1);
            edges[static_cast<std::size_t>(i)] = 700.0 * (std::pow(10.0, m / 2595.0) - 1.0);
        }
        for (int band = 0; band < MelBandCount; ++band) {
            const double left = edges[static_cast<std::size_t>(band)];
            const double centre = edges[static_cast<std::size_t>(band) + 1];
            const double right = edges[static_cast<std::size_t>(band) + 2];
            const int first = static_cast<int>(std::ceil(left / BinHz));
            const int last =
                std::min(FeatureWindow / 2 - 1, static_cast<int>(std::floor(right / BinHz)));
            auto& w = b.weights[static_cast<std::size_t>(band)];
            b.first[static_cast<std::size_t>(band)] = first;
            for (int k = first; k <= last; ++k) {
                const double f = k * BinHz;
                const double weight =
                    f <= centre ? (f - left) / (centre - left) : (right - f) / (right - centre);
                w.push_back(static_cast<float>(std::max(0.0, weight)));
            }
            if (w.empty()) { // a band narrower than a bin takes its nearest bin
                b.first[static_cast<std::size_t>(band)] =
                    std::min(FeatureWindow / 2 - 1, static_cast<int>(std::lround(centre / BinHz)));
                w.push_back(1.0f);
            }
        }
        for (int j = 0; j < CepstralCount; ++j) {
            for (int band = 0; band < MelBandCount; ++band) {
                b.dct[j][static_cast<std::size_t>(band)] = static_cast<float>(
                    std::cos(3.14159265358979 * j * (band + 0.5) / MelBandCount) / MelBandCount);
            }
        }
        return b;
    }();
    return bank;
}

} // namespace

float FastLog(float x) {
    // x = m 2^e with m in [1, 2): ln x = e ln 2 + ln m, ln m by a polynomial in (m - 1) that
    // is within 1e-4 of it over the interval.
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int e = static_cast<int>((bits >> 23) & 0xff) - 127;
    bits = (bits & 0x007fffffu) | 0x3f800000u;
    float m;
    std::memcpy(&m, &bits, sizeof m);
    const float t = m - 1.0f;
    const float lnm =
        t * (0.99949556f +
             t * (-0.49190896f + t * (0.28947478f + t * (-0.13606275f + t * 0.03215845f))));
    return static_cast<float>(e) * 0.69314718f + lnm;
}

namespace {

// The mel band powers of the frame of FeatureWindow samples at x into bands (work holds
// FeatureWindow floats); returns the frame's log power.
float frameBands(const std::int16_t* x, float* work, float* bands) {
    const MelBank& bank = Bank();
    const float* window = FeatureWindowTable().data();
    // Pre-emphasis lifts the upper formants that carry the consonants.
    work[0] = window[0] * static_cast<float>(x[0]) * 0.03f;
    for (int i = 1; i < FeatureWindow; ++i) {
        work[i] = window[i] * (static_cast<float>(x[i]) - 0.97f * static_cast<float>(x[i - 1]));
    }
    RealFft(FeatureWindow, 1, work);
    std::array<float, FeatureWindow / 2> power{};
    double total = 0.0;
    for (int k = 1; k < FeatureWindow / 2; ++k) {
        const float p = work[2 * k] * work[2 * k] + work[2 * k + 1] * work[2 * k + 1];
        power[static_cast<std::size_t>(k)] = p;
        total += p;
    }
    for (int band = 0; band < MelBandCount; ++band) {
        const auto& w = bank.weights[static_cast<std::size_t>(band)];
        const int first = bank.first[static_cast<std::size_t>(band)];
        double e = 0.0;
        for (std::size_t i = 0; i < w.size(); ++i) {
            e += static_cast<double>(w[i]) * power[static_cast<std::size_t>(first) + i];
        }
        bands[band] = static_cast<float>(e);
    }
    return static_cast<float>(std::log(total + 1.0));
}

// Cepstral coefficients of one frame's band powers, with noise (per band) added.
void cepstrum(const float* bands, const float* noise, float* out) {
    const MelBank& bank = Bank();
    std::array<float, MelBandCount> logs{};
    for (int band = 0; band < MelBandCount; ++band) {
        logs[static_cast<std::size_t>(band)] = FastLog(bands[band] + noise[band] + 1.0f);
    }
    for (int j = 0; j < CepstralCount; ++j) {
        const auto& row = bank.dct[j];
        float c = 0.0f;
        for (int band = 0; band < MelBandCount; ++band) {
            c += row[static_cast<std::size_t>(band)] * logs[static_cast<std::size_t>(band)];
        }
        out[j] = c;
    }
    out[0] *= LevelWeight;
}

// Cepstra of the kept frames first .. first + count - 1 of source with noise added, less their
// mean, into features.
void cepstra(const WordFeatures& source, const float* noise, WordFeatures& features, int first,
             int count, int step = 1) {
    count = (count + step - 1) / step;
    features.frames = count;
    features.values.assign(static_cast<std::size_t>(count) * FeatureStride, 0.0f);
    for (int f = 0; f < count; ++f) {
        cepstrum(source.bands.data() + (first + f * step) * MelBandCount, noise,
                 features.values.data() + f * FeatureStride);
    }
    if (features.frames == 0) {
        return;
    }
    std::array<double, CepstralCount> mean{};
    for (int f = 0; f < features.frames; ++f) {
        for (int j = 0; j < CepstralCount; ++j) {
            mean[j] += features.values[static_cast<std::size_t>(f * FeatureStride + j)];
        }
    }
    for (int f = 0; f < features.frames; ++f) {
        for (int j = 0; j < CepstralCount; ++j) {
            features.values[static_cast<std::size_t>(f * FeatureStride + j)] -=
                static_cast<float>(mean[j] / features.frames);
        }
    }
}

} // namespace

void ReserveFeatures(WordFeatures& features, int frames) {
    features.values.reserve(static_cast<std::size_t>(frames) * FeatureStride);
    features.bands.reserve(static_cast<std::size_t>(frames) * MelBandCount);
}

int FeatureFrameCount(int count) {
    return count < FeatureWindow ? 0 : (count - FeatureWindow) / FeatureHop + 1;
}

void ComputeFeatures(const std::int16_t* samples, int count, WordFeatures& features) {
    const int n = std::min(FeatureFrameCount(count), MaxFeatureFrames);
    features.bands.resize(static_cast<std::size_t>(n) * MelBandCount);
    std::array<float, MaxFeatureFrames> power{};
    std::array<float, FeatureWindow> work{};
    float loudest = -1e30f, quietest = 1e30f;
    for (int f = 0; f < n; ++f) {
        const float p = frameBands(samples + static_cast<std::ptrdiff_t>(f) * FeatureHop,
                                   work.data(), features.bands.data() + f * MelBandCount);
        power[static_cast<std::size_t>(f)] = p;
        loudest = std::max(loudest, p);
        quietest = std::min(quietest, p);
    }
    // The room: the mean band powers of the quietest frames.
    features.noise.fill(0.0f);
    {
        std::array<int, NoiseFrames> quiet{};
        const int q = std::min(n, NoiseFrames);
        std::array<float, MaxFeatureFrames> sorted = power;
        for (int i = 0; i < q; ++i) {
            const auto at = std::min_element(sorted.begin(), sorted.begin() + n) - sorted.begin();
            quiet[static_cast<std::size_t>(i)] = static_cast<int>(at);
            sorted[static_cast<std::size_t>(at)] = 1e30f;
        }
        for (int i = 0; i < q; ++i) {
            for (int b = 0; b < MelBandCount; ++b) {
                features.noise[static_cast<std::size_t>(b)] +=
                    features.bands[static_cast<std::size_t>(
                        quiet[static_cast<std::size_t>(i)] * MelBandCount + b)] /
                    static_cast<float>(q);
            }
        }
    }
    features.rangeDb = n > 0 ? (loudest - quietest) * 4.3429448f : 0.0f; // 10 / ln 10
    // The frames kept: from the first to the last that is near enough the loudest and, when
    // the word holds noise or silence around it, clearly above the quietest.
    float keep = loudest - KeepBelowPeak;
    features.heldRoom = loudest - quietest > NoiseSpan;
    if (features.heldRoom) {
        keep = std::max(keep, quietest + KeepAboveQuietest);
    }
    int first = 0, last = n - 1;
    while (first < n && power[static_cast<std::size_t>(first)] < keep) {
        ++first;
    }
    while (last >= first && power[static_cast<std::size_t>(last)] < keep) {
        --last;
    }
    if (first > last) { // nothing loud enough: keep everything
        first = 0;
        last = n - 1;
    }
    const int kept = std::max(last - first + 1, 0);
    if (first > 0) {
        std::copy(features.bands.begin() + first * MelBandCount,
                  features.bands.begin() + (last + 1) * MelBandCount, features.bands.begin());
    }
    features.bands.resize(static_cast<std::size_t>(kept) * MelBandCount);
    features.frames = kept;
    const std::array<float, MelBandCount> none{};
    cepstra(features, none.data(), features, 0, kept);
}

void FloorToRoom(WordFeatures& word) {
    if (!word.heldRoom) {
        return;
    }
    std::array<float, MelBandCount> floor{};
    for (int b = 0; b < MelBandCount; ++b) {
        floor[static_cast<std::size_t>(b)] = RoomFloor * word.noise[static_cast<std::size_t>(b)];
    }
    cepstra(word, floor.data(), word, 0, word.frames);
}

void AddNoise(const WordFeatures& clean, const std::array<float, MelBandCount>& noise,
              WordFeatures& noisy, bool trimToRoom, int step) {
    int first = 0, last = clean.frames - 1;
    if (trimToRoom) {
        // A frame is drowned when, heard in the room, it stands less than the new word's
        // keeping margin above the room alone.
        float room = 0.0f;
        for (const float n : noise) {
            room += n;
        }
        const float keep = room * std::exp(KeepAboveQuietest);
        const auto heard = [&](int f) {
            float p = room;
            for (int b = 0; b < MelBandCount; ++b) {
                p += clean.bands[static_cast<std::size_t>(f * MelBandCount + b)];
            }
            return p;
        };
        while (first < last && heard(first) < keep) {
            ++first;
        }
        while (last > first && heard(last) < keep) {
            --last;
        }
    }
    std::array<float, MelBandCount> heardIn = noise;
    if (trimToRoom) {
        for (float& n : heardIn) {
            n *= 1.0f + RoomFloor;
        }
    }
    cepstra(clean, heardIn.data(), noisy, first, std::max(last - first + 1, 0), step);
}

bool CanWarp(int n, int m) {
    return n > 0 && m > 0 && 2 * std::min(n, m) + 2 >= std::max(n, m) && n <= MaxFeatureFrames &&
           m <= MaxFeatureFrames;
}

float FeatureWarpDistance(const WordFeatures& x, const WordFeatures& t, float limit, int xStep,
                          int tStep) {
    const int n = (x.frames + xStep - 1) / xStep, m = (t.frames + tStep - 1) / tStep;
    if (n == 0 || m == 0) {
        return n == m ? 0.0f : WarpInfinity;
    }
    if (!CanWarp(n, m)) {
        return WarpInfinity;
    }
    // Cells within a band around the diagonal of the n x m table; only those are computed,
    // the rest of each row stays infinite.
    const float band = std::max(3.0f, 0.3f * static_cast<float>(std::max(n, m)));
    std::array<float, 256> rowA, rowB;
    float* previous = rowA.data();
    float* current = rowB.data();
    previous[0] = 0.0f;
    std::fill(previous + 1, previous + m + 1, WarpInfinity);
    const float bound = limit < WarpInfinity ? limit * static_cast<float>(n + m) : WarpInfinity;
    for (int i = 1; i <= n; ++i) {
        std::fill(current, current + m + 1, WarpInfinity);
        const float diagonal =
            static_cast<float>(i) * static_cast<float>(m) / static_cast<float>(n);
        const int from = std::max(1, static_cast<int>(std::ceil(diagonal - band)));
        const int to = std::min(m, static_cast<int>(std::floor(diagonal + band)));
        const float* a = x.frame((i - 1) * xStep);
        float rowBest = WarpInfinity;
        for (int j = from; j <= to; ++j) {
            const float* b = t.frame((j - 1) * tStep);
            // Four running sums, one vector register; the padding adds nothing.
            std::array<float, 4> sums{};
            for (int k = 0; k < FeatureStride; k += 4) {
                for (int l = 0; l < 4; ++l) {
                    const float d = a[k + l] - b[k + l];
                    sums[static_cast<std::size_t>(l)] += d * d;
                }
            }
            const float d = std::sqrt((sums[0] + sums[1]) + (sums[2] + sums[3]));
            const float cell =
                std::min({previous[j] + d, current[j - 1] + d, previous[j - 1] + 2 * d});
            current[j] = cell;
            rowBest = std::min(rowBest, cell);
        }
        std::swap(previous, current);
        // Every path crosses every row, and no step costs less than nothing: once a whole row
        // is past the limit, so is the end.
        if (rowBest > bound) {
            return WarpInfinity;
        }
    }
    const float total = previous[m];
    return total >= WarpInfinity ? WarpInfinity : total / static_cast<float>(n + m);
}

} // namespace tessimo
