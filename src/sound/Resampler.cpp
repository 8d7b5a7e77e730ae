#include "sound/Resampler.h"

#include <samplerate.h>

#include <algorithm>
#include <climits>

namespace tessimo {

namespace {

// The fastest of the band-limited converters: flat to 80 % of the band, about 97 dB of
// signal-to-noise, a few milliseconds per second of sound.
constexpr int Quality = SRC_SINC_FASTEST;

} // namespace

void Resampler::StateDeleter::operator()(SRC_STATE_tag* state) const {
    src_delete(state);
}

Resampler::Resampler(double inputRate, double outputRate) : ratio_(outputRate / inputRate) {
    int error = 0;
    state_.reset(src_new(Quality, 1, &error));
}

Resampler::~Resampler() = default;

void Resampler::reset() {
    if (state_ != nullptr)
        src_reset(state_.get());
}

std::size_t Resampler::process(const float* input, std::size_t inputCount, float* output,
                               std::size_t outputCapacity, bool endOfInput,
                               std::size_t& inputUsed) {
    inputUsed = 0;
    if (state_ == nullptr)
        return 0;
    SRC_DATA data{};
    data.data_in = input;
    data.data_out = output;
    data.input_frames = static_cast<long>(std::min<std::size_t>(inputCount, LONG_MAX / 2));
    data.output_frames = static_cast<long>(std::min<std::size_t>(outputCapacity, LONG_MAX / 2));
    data.end_of_input = endOfInput ? 1 : 0;
    data.src_ratio = ratio_;
    if (src_process(state_.get(), &data) != 0)
        return 0;
    inputUsed = static_cast<std::size_t>(data.input_frames_used);
    return static_cast<std::size_t>(data.output_frames_gen);
}

std::vector<float> Resampler::convertRecording(const std::int16_t* samples, std::size_t count,
                                               double inputRate, double outputRate) {
    std::vector<float> input(count);
    for (std::size_t i = 0; i < count; ++i)
        input[i] = static_cast<float>(samples[i]) / 32768.0f;
    if (inputRate == outputRate || count == 0)
        return input;
    Resampler resampler(inputRate, outputRate);
    std::vector<float> output(
        static_cast<std::size_t>(static_cast<double>(count) * resampler.ratio()) + 64);
    std::size_t read = 0;
    std::size_t written = 0;
    for (;;) {
        if (written == output.size())
            output.resize(output.size() + 256);
        std::size_t used = 0;
        const std::size_t made =
            resampler.process(input.data() + read, count - read, output.data() + written,
                              output.size() - written, true, used);
        read += used;
        written += made;
        if (made == 0 && (read == count || used == 0))
            break;
    }
    output.resize(written);
    return output;
}

} // namespace tessimo
