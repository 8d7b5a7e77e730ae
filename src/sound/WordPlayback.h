// The user's recorded words, mixed into the output stream's callback on top of the synthesiser.
//
// Hand-over without a lock: the user-interface thread converts a word to the stream's rate
// into one of a few slots it owns, then publishes a request (a generation number and the slot)
// in one atomic word. At the start of each block the audio thread reads the request, switches
// to the requested slot when it changed (cutting off the word before), mixes, and at the end
// of the block acknowledges the generation it used. When it mixes a word's last sample it
// stores the stream frame just after it, so the end of the sound is known exactly. A slot that
// is no longer requested is freed on the user-interface thread once the audio thread has
// acknowledged the request that replaced it; a finished word's slot once its end is stored.
// The audio thread never allocates, frees, locks or waits.
#pragma once

#include "sound/AudioRenderer.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessimo {

class WordPlayback final : public AudioMixSource {
public:
    // Words replaced or stopped whose slot the audio thread may still read, plus the one
    // playing: when the stream has not run since the last changes, play() refuses.
    static constexpr int SlotCount = 4;

    // Rate of the recorded words.
    static constexpr double WordRate = 22000;

    // Converts count samples of 16-bit mono at WordRate to streamRate and plays them, cutting
    // off a word already playing. Returns false, playing nothing, when count is 0 or when no
    // slot is free because the stream has not run since the last SlotCount changes (a dead or
    // stopped stream). The caller wakes the stream afterwards. User-interface thread only.
    bool play(const std::int16_t* samples, std::size_t count, double streamRate);
    // The same with samples already at the stream's rate, scaled to -1..1.
    bool playConverted(std::vector<float> samples);

    // Stops the word playing, if any; the next block is silent. User-interface thread only.
    void stop();

    // True from play() until the last sample has left the speaker: until framesRendered (the
    // stream's frame counter) has passed the frame after the word's last sample plus
    // latencyFrames. User-interface thread only.
    bool isPlaying(std::uint64_t framesRendered, std::uint64_t latencyFrames);

    // The stream frame just after the word's last sample, once it has been mixed; 0 before.
    // User-interface thread only.
    std::uint64_t endFrame();

    // Frees every slot the audio thread is done with. Returns true while a slot is still held
    // (a word playing, or one the audio thread has not let go yet). User-interface thread only.
    bool reclaim();

    // AudioMixSource: audio thread only.
    void mixInto(float* out, std::size_t frames, int channelCount,
                 std::uint64_t firstFrame) noexcept override;
    bool isActive() const noexcept override;

private:
    enum class SlotUse { Free, Requested, Retiring };
    struct Slot {
        std::vector<float> samples;  // user-interface thread: owned; audio thread: read
        SlotUse use = SlotUse::Free; // user-interface thread only
    };

    static constexpr std::uint32_t SlotBits = 3; // slot + 1, 0 for none
    static std::uint32_t generationOf(std::uint32_t request) { return request >> SlotBits; }
    static int slotOf(std::uint32_t request) {
        return static_cast<int>(request & ((1u << SlotBits) - 1)) - 1;
    }
    void publish(int slot);

    std::array<Slot, SlotCount> slots_;
    // User-interface thread only.
    std::uint32_t generation_ = 0;
    int requested_ = -1;
    bool hasWord_ = false;
    bool endSeen_ = false;
    std::uint64_t uiEndFrame_ = 0;

    // Written by the user-interface thread, read by the audio thread.
    std::atomic<std::uint32_t> request_{0};
    // Written by the audio thread, read by the user-interface thread.
    std::atomic<std::uint32_t> acknowledged_{0};
    std::atomic<std::uint32_t> endedGeneration_{0};
    std::atomic<std::uint64_t> endFrame_{0};

    // Audio thread only.
    std::uint32_t seenRequest_ = 0;
    int playing_ = -1;
    std::size_t position_ = 0;
};

} // namespace tessimo
