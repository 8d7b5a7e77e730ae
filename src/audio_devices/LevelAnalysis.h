// The levels of a microphone's input, for the sound set-up: the level and peak of a stretch of
// samples in dBFS, and the judgement of a spoken take (the room's noise floor, the voice's
// level, the margin between them and a plain verdict). Plain arithmetic on 16-bit samples; no
// Qt, no device. Any one thread per object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessimo {

// The level of digital silence: what an all-zero stretch reports.
inline constexpr double SilenceDb = -120.0;

struct BlockLevel {
    double rmsDb = SilenceDb;  // root-mean-square level, dBFS
    double peakDb = SilenceDb; // largest magnitude, dBFS
    bool clipped = false;      // a sample at (or within 0.1 dB of) full scale
};

// The level of count samples; SilenceDb for none.
BlockLevel measureLevel(const std::int16_t* samples, std::size_t count);

enum class TakeVerdict {
    TooShort, // less than a frame of input, nothing to judge
    TooQuiet, // the voice hardly rises above nothing: move closer or raise the input gain
    TooNoisy, // the voice does not stand clear of the room's noise: voice answers would fail
    Good,
};

struct TakeLevels {
    double noiseFloorDb = SilenceDb; // level of the quietest tenth of the take
    double speechDb = SilenceDb;     // level of the loudest twentieth (the word)
    double marginDb = 0;             // speechDb - noiseFloorDb
    bool clipped = false;            // some of the take reached full scale
    TakeVerdict verdict = TakeVerdict::TooShort;
};

// A take of a few seconds in which the user says one word: the input is cut into frames of
// FrameSamples, and the quiet frames give the floor, the loud ones the voice.
class TakeAnalysis {
public:
    static constexpr std::size_t FrameSamples = 512; // about 23 ms at 22000 Hz
    // A voice quieter than this is too quiet, whatever the room.
    static constexpr double QuietBelowDb = -42.0;
    // A margin smaller than this is too noisy: the word detector starts a word at twice the
    // noise level and needs the word's body well above it to find where it ends.
    static constexpr double NoisyBelowDb = 15.0;

    // Adds samples to the take (any count; frames continue across calls).
    void add(const std::int16_t* samples, std::size_t count);

    // The judgement of what was added so far.
    TakeLevels result() const;

    // Forgets the take.
    void clear();

    std::size_t frameCount() const { return frameDb_.size(); }

private:
    std::vector<double> frameDb_;
    double frameEnergy_ = 0;
    std::size_t frameFill_ = 0;
    bool clipped_ = false;
};

// The verdict in plain words for the user ("good", "too quiet", ...).
const char* verdictText(TakeVerdict verdict);

} // namespace tessimo
