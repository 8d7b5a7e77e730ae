#include "sound/WordPlayback.h"

#include "sound/Resampler.h"

#include <algorithm>
#include <utility>

namespace tessimo {

bool WordPlayback::play(const std::int16_t* samples, std::size_t count, double streamRate) {
    if (count == 0 || streamRate <= 0)
        return false;
    // Conversion happens here, on the user-interface thread, so the callback only copies.
    return playConverted(Resampler::convertRecording(samples, count, WordRate, streamRate));
}

bool WordPlayback::playConverted(std::vector<float> samples) {
    reclaim();
    if (samples.empty())
        return false;
    auto free = std::find_if(slots_.begin(), slots_.end(),
                             [](const Slot& s) { return s.use == SlotUse::Free; });
    if (free == slots_.end())
        return false;
    free->samples = std::move(samples);
    publish(static_cast<int>(free - slots_.begin()));
    hasWord_ = true;
    return true;
}

void WordPlayback::stop() {
    if (requested_ >= 0)
        publish(-1);
    hasWord_ = false;
    reclaim();
}

void WordPlayback::publish(int slot) {
    if (requested_ >= 0)
        slots_[static_cast<std::size_t>(requested_)].use = SlotUse::Retiring;
    requested_ = slot;
    if (slot >= 0)
        slots_[static_cast<std::size_t>(slot)].use = SlotUse::Requested;
    generation_ = (generation_ + 1) & ((1u << (32 - SlotBits)) - 1);
    endSeen_ = false;
    uiEndFrame_ = 0;
    // Release: the slot's samples are complete before the audio thread can see the request.
    request_.store(generation_ << SlotBits | static_cast<std::uint32_t>(slot + 1),
                   std::memory_order_release);
}

std::uint64_t WordPlayback::endFrame() {
    if (!endSeen_ && requested_ >= 0 &&
        endedGeneration_.load(std::memory_order_acquire) == generation_) {
        endSeen_ = true;
        uiEndFrame_ = endFrame_.load(std::memory_order_relaxed);
    }
    return endSeen_ ? uiEndFrame_ : 0;
}

bool WordPlayback::isPlaying(std::uint64_t framesRendered, std::uint64_t latencyFrames) {
    if (!hasWord_)
        return false;
    const std::uint64_t end = endFrame();
    if (end == 0 && !endSeen_)
        return true;
    if (framesRendered >= end + latencyFrames)
        hasWord_ = false;
    return hasWord_;
}

bool WordPlayback::reclaim() {
    endFrame(); // notes a finished word
    const bool caughtUp = acknowledged_.load(std::memory_order_acquire) == generation_;
    bool held = false;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        const bool done =
            (slot.use == SlotUse::Retiring && caughtUp) ||
            (slot.use == SlotUse::Requested && endSeen_ && static_cast<int>(i) == requested_);
        if (done) {
            std::vector<float>().swap(slot.samples); // freed here, never on the audio thread
            slot.use = SlotUse::Free;
        }
        held = held || slot.use != SlotUse::Free;
    }
    return held;
}

void WordPlayback::mixInto(float* out, std::size_t frames, int channelCount,
                           std::uint64_t firstFrame) noexcept {
    const std::uint32_t request = request_.load(std::memory_order_acquire);
    if (request != seenRequest_) {
        seenRequest_ = request;
        playing_ = slotOf(request);
        position_ = 0;
    }
    if (playing_ >= 0) {
        const std::vector<float>& word = slots_[static_cast<std::size_t>(playing_)].samples;
        const std::size_t n = std::min(frames, word.size() - position_);
        const float* from = word.data() + position_;
        const auto channels = static_cast<std::size_t>(channelCount);
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t c = 0; c < channels; ++c)
                out[i * channels + c] += from[i];
        }
        position_ += n;
        if (position_ == word.size()) {
            playing_ = -1;
            endFrame_.store(firstFrame + n, std::memory_order_relaxed);
            // Release: the last read of the slot comes before the user-interface thread may
            // free it.
            endedGeneration_.store(generationOf(request), std::memory_order_release);
        }
    }
    acknowledged_.store(generationOf(request), std::memory_order_release);
}

bool WordPlayback::isActive() const noexcept {
    return playing_ >= 0 || request_.load(std::memory_order_acquire) != seenRequest_;
}

} // namespace tessimo
