// The recogniser's boundary, third part: playing back what a word slot holds.
#pragma once

namespace tessimo {

class WordPlayer {
public:
    virtual ~WordPlayer() = default;

    // Stops capture without trimming and plays the slot's samples, cutting off a word already
    // playing; an empty slot plays nothing and leaves a word already playing alone. Returns -1
    // for a slot outside 0..85, else 0.
    // User-interface thread.
    virtual int PlayWord(int slot) = 0;

    // Stops a word playback in progress. User-interface thread.
    virtual void StopWordPlayback() = 0;
};

} // namespace tessimo
