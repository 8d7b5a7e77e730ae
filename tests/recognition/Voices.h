// Synthetic spoken words for the adaptive path's tests: a voiced sound whose harmonics are
// shaped by two formants gliding from one vowel to another, so different words differ in
// their spectra over time and takes of one word differ in pitch, length and level.
#pragma once

#include <cmath>
#include <numbers>

#include "Signals.h"

namespace tessimo::testing {

struct Vowels {
    double f1a, f2a; // formants at the start, Hz
    double f1b, f2b; // formants at the end
};

inline Samples syllable(const Vowels& v, double pitchHz, double seconds, double amplitude) {
    const int count = static_cast<int>(seconds * 22000);
    Samples s(static_cast<std::size_t>(count));
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / count;
        const double f1 = v.f1a + (v.f1b - v.f1a) * t, f2 = v.f2a + (v.f2b - v.f2a) * t;
        const double envelope = std::sin(std::numbers::pi * t); // rises and falls
        double x = 0.0;
        for (int h = 1; h * pitchHz < 5000; ++h) {
            const double f = h * pitchHz;
            const double gain = 1.0 / (1.0 + std::pow((f - f1) / 120.0, 2)) +
                                0.6 / (1.0 + std::pow((f - f2) / 180.0, 2));
            x += gain * std::sin(h * phase);
        }
        s[static_cast<std::size_t>(i)] = clip(amplitude * envelope * x);
        phase += 2.0 * std::numbers::pi * pitchHz / 22000.0;
    }
    return s;
}

// Five words that lie apart. Each moves from one vowel to another: the matching takes off a
// word's mean spectrum, so what tells words apart is how their spectra move.
inline const Vowels Words[5] = {
    {300, 2300, 700, 1200}, {700, 1100, 300, 800},  {500, 1800, 300, 2400},
    {350, 800, 650, 1900},  {750, 1200, 400, 2300},
};

// Another speaker's (or another day's) version of a word: formants shifted by factor.
inline Vowels shifted(const Vowels& v, double factor) {
    return {v.f1a * factor, v.f2a * factor, v.f1b * factor, v.f2b * factor};
}

// A spoken letter name ending in a held "ee": a consonant's quiet formant transition (its
// second formant gliding from f2From Hz) into the vowel. Two such names differ only in the
// transition, which hiss drowns first.
inline Samples letterName(double f2From, double pitchHz, double seconds, double onsetAmplitude) {
    return concat({syllable({250, f2From, 280, 2250}, pitchHz, 0.12, onsetAmplitude),
                   syllable({280, 2250, 280, 2300}, pitchHz, seconds, 3000)});
}

// A harmonic tone at a MIDI pitch with decaying harmonics, the second louder than the first
// (as in many instruments), for the pitch tracker.
inline Samples instrumentNote(int pitch, double seconds, double amplitude) {
    const double f0 = 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
    const int count = static_cast<int>(seconds * 22000);
    Samples s(static_cast<std::size_t>(count));
    const double gains[5] = {0.6, 1.0, 0.5, 0.3, 0.2};
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / 22000;
        const double envelope = std::min(1.0, t / 0.01) * std::exp(-1.5 * t);
        double x = 0.0;
        for (int h = 0; h < 5; ++h) {
            if ((h + 1) * f0 < 10000) {
                x += gains[h] * std::sin(2.0 * std::numbers::pi * (h + 1) * f0 * t);
            }
        }
        s[static_cast<std::size_t>(i)] = clip(amplitude * envelope * x);
    }
    return s;
}

// A plucked string's note at a MIDI pitch: every harmonic below 5 kHz, falling as 1/h, and a
// fast decay. Its mel spectrum barely changes from one semitone to the next, so its
// recordings of neighbouring pitches lie close together, as a real instrument's do.
inline Samples pluckedNote(int pitch, double seconds, double amplitude) {
    const double f0 = 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
    const int count = static_cast<int>(seconds * 22000);
    Samples s(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / 22000;
        const double envelope = std::min(1.0, t / 0.005) * std::exp(-4.0 * t);
        double x = 0.0;
        for (int h = 1; h * f0 < 5000; ++h) {
            x += std::sin(2.0 * std::numbers::pi * h * f0 * t) / h;
        }
        s[static_cast<std::size_t>(i)] = clip(amplitude * envelope * x);
    }
    return s;
}

// A pipe organ's note at a MIDI pitch: an open pipe sounding the pitch (partials falling
// from the fundamental) and a stopped pipe an octave below it, subOctaveDb relative to the
// open pipe's fundamental (a stopped pipe: its fundamental and a weak third partial).
inline Samples organNote(int pitch, double seconds, double amplitude, double subOctaveDb) {
    const double f0 = 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
    const double sub = std::pow(10.0, subOctaveDb / 20.0);
    const double gains[6] = {1.0, 0.5, 0.35, 0.25, 0.15, 0.1};
    const int count = static_cast<int>(seconds * 22000);
    Samples s(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / 22000;
        const double w = 2.0 * std::numbers::pi * t;
        double x = sub * (std::sin(w * f0 / 2) + 0.1 * std::sin(w * 1.5 * f0));
        for (int h = 0; h < 6 && (h + 1) * f0 < 10000; ++h) {
            x += gains[h] * std::sin(w * (h + 1) * f0);
        }
        s[static_cast<std::size_t>(i)] = clip(amplitude * std::min(1.0, t / 0.03) * x);
    }
    return s;
}

} // namespace tessimo::testing
