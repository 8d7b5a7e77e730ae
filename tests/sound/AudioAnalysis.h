// Measurements of rendered sound for the synthesiser tests: pitch, level at a frequency,
// harmonic profile.
#pragma once

#include <cstddef>
#include <vector>

namespace tessimo::test {

// Fundamental frequency by the YIN difference function (robust when a harmonic is louder
// than the fundamental), searched between minHz and maxHz. 0 when nothing periodic is found.
double estimatePitch(const std::vector<float>& samples, double sampleRate, double minHz = 50,
                     double maxHz = 1500);

// Amplitude of the Hann-windowed component at frequency hz.
double amplitudeAt(const std::vector<float>& samples, double sampleRate, double hz);

// Highest amplitudeAt within cents of hz (samples are tuned within a few cents).
double peakNear(const std::vector<float>& samples, double sampleRate, double hz, double cents = 30);

// Amplitudes of harmonics 1..count of fundamentalHz, scaled to sum to 1.
std::vector<double> harmonicProfile(const std::vector<float>& samples, double sampleRate,
                                    double fundamentalHz, int count = 10);

// Sum of absolute differences of two profiles (0 = same timbre, 2 = nothing in common).
double profileDistance(const std::vector<double>& a, const std::vector<double>& b);

double rms(const std::vector<float>& samples);
double peakAbs(const std::vector<float>& samples);

// Cents from reference to hz.
double centsBetween(double reference, double hz);

// Equal-tempered frequency of a MIDI key (69 = 440 Hz).
double keyFrequency(int key);

} // namespace tessimo::test
