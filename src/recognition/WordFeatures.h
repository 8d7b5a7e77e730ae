// What the adaptive matching compares: a word's samples (the new word's, or a template's as
// the file stores them) cut into short frames, each reduced to a few cepstral coefficients on
// a mel scale; the frames of silence or noise around the word left out, and the word's own
// mean taken off. The mean removal makes a word independent of the recording level and of the
// tilt of the microphone and room, so templates recorded on another day compare fairly with
// what is heard now; the template file stays as it is. The frames are shorter and closer than
// the stored 93 ms ones, so that where a word happens to start against the frame grid hardly
// changes its features.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tessimo {

inline constexpr int CepstralCount = 13; // coefficients per frame, c0 (the level) included
// Each frame's coefficients are stored in 16 floats, the last three 0, so that the distance of
// two frames runs in whole vector registers.
inline constexpr int FeatureStride = 16;
inline constexpr int MelBandCount = 24;
inline constexpr int FeatureWindow = 1024;   // samples per frame, about 47 ms
inline constexpr int FeatureHop = 256;       // about 12 ms
inline constexpr int MaxFeatureFrames = 255; // about 3 s; later samples are left out

inline constexpr int NoiseFrames = 8; // the quietest frames of a word stand for its room

struct WordFeatures {
    int frames = 0;                          // frames kept (the word without the room around it)
    std::vector<float> values;               // frames x FeatureStride, less their mean
    std::vector<float> bands;                // frames x MelBandCount, the kept frames' band powers
    std::array<float, MelBandCount> noise{}; // band powers of the quietest frames
    float rangeDb = 0.0f;  // from the quietest frame to the loudest: at most the word's SNR
    bool heldRoom = false; // the word came with room around it, left out of the kept frames
    const float* frame(int i) const { return values.data() + i * FeatureStride; }
};

// Features of a whole word of count samples. features keeps its storage, so a reserved one
// (ReserveFeatures with MaxFeatureFrames) is filled without allocating. Any thread.
void ComputeFeatures(const std::int16_t* samples, int count, WordFeatures& features);
int FeatureFrameCount(int count);

// Floors a word heard in a room at the room's band powers (a template heard in that room by
// AddNoise with trimToRoom gets the same floor on top of the room), so that the bands the room
// drowns stop varying with its noise from one frame to the next. Nothing changes for a word
// without room around it. Any thread; allocates nothing.
void FloorToRoom(WordFeatures& word);

// The features clean would have in a room with the given noise (band powers added before the
// logarithm): a template recorded in quiet, heard as if in the room the new word comes from.
// With trimToRoom, the frames at either end that this room would drown (as the new word's own
// quiet edges were left out of it) are left out too: a consonant lost in the noise of the room
// is then lost in both. noisy keeps its storage (reserve it); noisy may not be clean. Any
// thread.
// With step 2 only every other frame of the template is kept (see MatchStep).
void AddNoise(const WordFeatures& clean, const std::array<float, MelBandCount>& noise,
              WordFeatures& noisy, bool trimToRoom = false, int step = 1);
void ReserveFeatures(WordFeatures& features, int frames);

// Distance of the cheapest warping path between two feature sequences, divided by the
// path's weight (n + m), so long and short words compare on one scale. The path may stretch
// either word to about twice its length; WarpInfinity beyond that. Allocates nothing for up
// to 255 frames. Any thread.
// Whether a path joins words of n and m frames (both present, neither more than about twice
// the other). Any thread.
bool CanWarp(int n, int m);
// With a limit, a distance found to exceed it is given up early and reported as WarpInfinity.
// xStep and tStep take every xStep-th frame of x and every tStep-th of t.
float FeatureWarpDistance(const WordFeatures& x, const WordFeatures& t, float limit = 1e20f,
                          int xStep = 1, int tStep = 1);
// Two long words (each over LongWordFrames, about 0.7 s) are compared on every other frame:
// a frame every 23 ms still follows a word, at a quarter of the cost. Returns the step, 1 or 2.
inline constexpr int LongWordFrames = 56;
inline int MatchStep(int n, int m) {
    return n > LongWordFrames && m > LongWordFrames ? 2 : 1;
}

// The natural logarithm of a positive, finite x within 1e-4: the features take thousands per
// match. Any thread.
float FastLog(float x);

} // namespace tessimo
