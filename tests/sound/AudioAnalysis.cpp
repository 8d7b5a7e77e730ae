#include "AudioAnalysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessimo::test {

double estimatePitch(const std::vector<float>& x, double sampleRate, double minHz, double maxHz) {
    const auto maxTau = static_cast<std::size_t>(sampleRate / minHz) + 2;
    const auto minTau = static_cast<std::size_t>(sampleRate / maxHz);
    if (x.size() < 2 * maxTau || minTau < 2)
        return 0;
    const std::size_t window = x.size() - maxTau;

    std::vector<double> cmnd(maxTau + 1, 1.0);
    double runningSum = 0;
    for (std::size_t tau = 1; tau <= maxTau; ++tau) {
        double d = 0;
        for (std::size_t j = 0; j < window; ++j) {
            const double diff = static_cast<double>(x[j]) - x[j + tau];
            d += diff * diff;
        }
        runningSum += d;
        cmnd[tau] = runningSum > 0 ? d * static_cast<double>(tau) / runningSum : 1.0;
    }

    std::size_t best = 0;
    for (std::size_t tau = minTau; tau < maxTau; ++tau) {
        if (cmnd[tau] < 0.15) {
            while (tau + 1 < maxTau && cmnd[tau + 1] < cmnd[tau])
                ++tau;
            best = tau;
            break;
        }
    }
    if (best == 0) {
        best = minTau;
        for (std::size_t tau = minTau; tau < maxTau; ++tau) {
            if (cmnd[tau] < cmnd[best])
                best = tau;
        }
        if (cmnd[best] > 0.5)
            return 0;
    }
    double tau = static_cast<double>(best);
    const double a = cmnd[best - 1], b = cmnd[best], c = cmnd[best + 1];
    const double denominator = a - 2 * b + c;
    if (denominator > 0)
        tau += 0.5 * (a - c) / denominator;
    return sampleRate / tau;
}

double amplitudeAt(const std::vector<float>& x, double sampleRate, double hz) {
    const double n = static_cast<double>(x.size());
    double re = 0, im = 0, windowSum = 0;
    const double step = 2 * std::numbers::pi * hz / sampleRate;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / n);
        const double phase = step * static_cast<double>(i);
        re += w * x[i] * std::cos(phase);
        im -= w * x[i] * std::sin(phase);
        windowSum += w;
    }
    return 2 * std::hypot(re, im) / windowSum;
}

double peakNear(const std::vector<float>& x, double sampleRate, double hz, double cents) {
    double best = 0;
    for (double c = -cents; c <= cents; c += 2)
        best = std::max(best, amplitudeAt(x, sampleRate, hz * std::exp2(c / 1200)));
    return best;
}

std::vector<double> harmonicProfile(const std::vector<float>& x, double sampleRate,
                                    double fundamentalHz, int count) {
    std::vector<double> profile;
    double total = 0;
    for (int k = 1; k <= count; ++k) {
        profile.push_back(peakNear(x, sampleRate, fundamentalHz * k, 20));
        total += profile.back();
    }
    for (double& p : profile)
        p = total > 0 ? p / total : 0;
    return profile;
}

double profileDistance(const std::vector<double>& a, const std::vector<double>& b) {
    double d = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        d += std::abs(a[i] - b[i]);
    return d;
}

double rms(const std::vector<float>& x) {
    double sum = 0;
    for (float v : x)
        sum += static_cast<double>(v) * v;
    return x.empty() ? 0 : std::sqrt(sum / static_cast<double>(x.size()));
}

double peakAbs(const std::vector<float>& x) {
    double peak = 0;
    for (float v : x)
        peak = std::max(peak, static_cast<double>(std::abs(v)));
    return peak;
}

double centsBetween(double reference, double hz) {
    return 1200 * std::log2(hz / reference);
}

double keyFrequency(int key) {
    return 440.0 * std::exp2((key - 69) / 12.0);
}

} // namespace tessimo::test
