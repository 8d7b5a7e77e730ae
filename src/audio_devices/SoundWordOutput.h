// The recogniser's word playback on the program's sound output.
#pragma once

#include "recognition/WordOutput.h"

#include <functional>
#include <utility>

namespace tessimo {

class SoundOutput;

class SoundWordOutput final : public WordOutput {
public:
    // The output must outlive this object. onPlaying is called after each word that starts,
    // so that the caller can poll (SoundOutput::reclaimWords) until it has ended.
    // User-interface thread.
    explicit SoundWordOutput(SoundOutput& output, std::function<void()> onPlaying = {})
        : output_(output), onPlaying_(std::move(onPlaying)) {}

    bool playWord(const std::int16_t* samples, std::size_t count) override;
    void stopWord() override;

private:
    SoundOutput& output_;
    std::function<void()> onPlaying_;
};

} // namespace tessimo
