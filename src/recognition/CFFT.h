// A vector of single-precision values: one spectral frame (512 values) or the window table.
#pragma once

#include <string_view>
#include <vector>

namespace tessimo {

class CFFT {
public:
    CFFT() = default;
    // size values, each set to initialValue. Any thread; allocates.
    explicit CFFT(int size, float initialValue = 0.0f)
        : values_(static_cast<std::size_t>(size), initialValue) {}

    int size() const { return static_cast<int>(values_.size()); }
    float* values() { return values_.data(); }
    const float* values() const { return values_.data(); }
    float& operator[](int i) { return values_[static_cast<std::size_t>(i)]; }
    float operator[](int i) const { return values_[static_cast<std::size_t>(i)]; }

    // Resizes to size values (keeps the allocation when shrinking or refilling). Any thread
    // that owns the object; allocates only when growing past what was ever held.
    void resize(int size) { values_.resize(static_cast<std::size_t>(size)); }

    // Multiplies each value by the weight of the named window: "hamming", "hanning",
    // "nuttall" or "flattop"; any other name leaves the values unchanged. Any thread.
    void ApplyWindow(std::string_view name);

    // Centred moving average of the given width (an even width is taken as width + 1); the
    // windows narrow symmetrically towards both ends, and the first and last values stay.
    // Allocates nothing for up to 4096 values. Any thread.
    void SmoothFrame(int width);

private:
    std::vector<float> values_;
};

} // namespace tessimo
