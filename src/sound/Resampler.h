// Sample-rate conversion of mono float sound (a band-limited sinc converter), fed block by block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct SRC_STATE_tag;

namespace tessimo {

class Resampler {
public:
    // Converts from inputRate to outputRate. Any thread; the object then belongs to one thread.
    Resampler(double inputRate, double outputRate);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // False when the converter could not be created (out of memory); process then does nothing.
    bool valid() const { return state_ != nullptr; }
    double ratio() const { return ratio_; }

    // Converts up to inputCount samples into at most outputCapacity samples. Returns the
    // samples written; inputUsed says how many input samples were consumed. With endOfInput
    // the converter also gives out what it holds back (call until it returns 0). Allocates
    // nothing.
    std::size_t process(const float* input, std::size_t inputCount, float* output,
                        std::size_t outputCapacity, bool endOfInput, std::size_t& inputUsed);

    // Starts a new, unrelated signal.
    void reset();

    // The whole of a 16-bit recording at inputRate, converted to outputRate and scaled to
    // -1..1. Allocates the result.
    static std::vector<float> convertRecording(const std::int16_t* samples, std::size_t count,
                                               double inputRate, double outputRate);

private:
    struct StateDeleter {
        void operator()(SRC_STATE_tag* state) const;
    };
    double ratio_;
    std::unique_ptr<SRC_STATE_tag, StateDeleter> state_;
};

} // namespace tessimo
