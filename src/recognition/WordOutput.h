// The sound output as the recogniser sees it: playback of recorded words.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessimo {

class WordOutput {
public:
    virtual ~WordOutput() = default;
    // Plays count samples of 16-bit mono at 22000 Hz, cutting off a word already playing. The
    // samples are copied before this returns. Returns false when nothing plays (no output
    // device, or the output is not taking words). User-interface thread only.
    virtual bool playWord(const std::int16_t* samples, std::size_t count) = 0;
    // Stops a word playing at once; nothing happens when none plays. User-interface thread only.
    virtual void stopWord() = 0;
};

} // namespace tessimo
