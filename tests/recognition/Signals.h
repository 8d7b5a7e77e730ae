// Synthetic test signals: tones, chirps and a noise floor, 16-bit at 22000 Hz.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace tessimo::testing {

using Samples = std::vector<std::int16_t>;

inline std::int16_t clip(double v) {
    return static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
}

// A tone whose frequency glides linearly from f0 to f1 Hz over count samples.
inline Samples chirp(double f0, double f1, double amplitude, int count) {
    Samples s(static_cast<std::size_t>(count));
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double f = f0 + (f1 - f0) * i / count;
        s[static_cast<std::size_t>(i)] = clip(amplitude * std::sin(phase));
        phase += 2.0 * std::numbers::pi * f / 22000.0;
    }
    return s;
}

inline Samples tone(double f, double amplitude, int count) {
    return chirp(f, f, amplitude, count);
}

// Deterministic white noise, uniform in [-amplitude, amplitude].
inline Samples noise(double amplitude, int count, unsigned seed = 1) {
    Samples s(static_cast<std::size_t>(count));
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& v : s) {
        state = state * 1664525u + 1013904223u;
        v = clip(amplitude * ((state >> 8) / 8388608.0 - 1.0));
    }
    return s;
}

// Alternating +a, -a: mean 0, mean absolute value a.
inline Samples square(int a, int count) {
    Samples s(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        s[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i % 2 == 0 ? a : -a);
    }
    return s;
}

// a + b, sample by sample, over the length of a.
inline Samples mix(Samples a, const Samples& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        a[i] = clip(a[i] + b[i]);
    }
    return a;
}

inline Samples concat(std::initializer_list<Samples> parts) {
    Samples s;
    for (const auto& p : parts) {
        s.insert(s.end(), p.begin(), p.end());
    }
    return s;
}

} // namespace tessimo::testing
