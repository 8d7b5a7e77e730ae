// What an output stream's real-time callback calls to fill each block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessimo {

class AudioRenderer {
public:
    virtual ~AudioRenderer() = default;

    // Writes frames of sound into out (interleaved channelCount channels at the stream's
    // rate), overwriting what is there. firstFrame counts the frames the stream rendered
    // before this block. Returns false when the stream may finish after this block because
    // nothing more will sound until it is started again. Audio thread only: never allocates,
    // locks or waits.
    virtual bool renderAudio(float* out, std::size_t frames, int channelCount,
                             std::uint64_t firstFrame) noexcept = 0;
};

// Sound added on top of the synthesiser in the same callback, such as the user's recorded
// words. Audio thread only: never allocates, locks or waits.
class AudioMixSource {
public:
    virtual ~AudioMixSource() = default;

    // Adds frames of sound to out (interleaved channelCount channels at the stream's rate);
    // firstFrame as in AudioRenderer::renderAudio.
    virtual void mixInto(float* out, std::size_t frames, int channelCount,
                         std::uint64_t firstFrame) noexcept = 0;

    // True while the source has sound left to mix: the stream does not go idle meanwhile.
    // Whoever makes it active from another thread then wakes the stream (see
    // SoundOutput::wakeOutput). Audio thread; never allocates, locks or waits.
    virtual bool isActive() const noexcept = 0;
};

} // namespace tessimo
