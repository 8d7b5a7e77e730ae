// The spectral frames of one word, in time order. Owns its frames.
#pragma once

#include <vector>

#include "recognition/CFFT.h"

namespace tessimo {

class CFFTArray {
public:
    int GetSize() const { return count_; }
    CFFT& operator[](int i) { return frames_[static_cast<std::size_t>(i)]; }
    const CFFT& operator[](int i) const { return frames_[static_cast<std::size_t>(i)]; }

    // Appends a frame of size values and returns it (its values are unspecified). Reuses the
    // storage of frames removed by RemoveAll, so an array that has held as many frames before
    // appends without allocating. Thread of the owner.
    CFFT& Append(int size) {
        if (count_ == static_cast<int>(frames_.size())) {
            frames_.emplace_back();
        }
        CFFT& frame = frames_[static_cast<std::size_t>(count_++)];
        frame.resize(size);
        return frame;
    }

    // Makes room for count frames of size values, so that up to count frames append without
    // allocating. Thread of the owner; allocates.
    void Reserve(int count, int size) {
        const int kept = count_;
        while (static_cast<int>(frames_.size()) < count) {
            frames_.emplace_back(size);
        }
        for (auto& frame : frames_) {
            frame.resize(size);
        }
        count_ = kept;
    }

    // Removes every frame; their storage is kept for the next Append. Allocates nothing.
    void RemoveAll() { count_ = 0; }

    // Removes every frame and frees their storage. Allocates nothing.
    void FreeAll() {
        frames_.clear();
        frames_.shrink_to_fit();
        count_ = 0;
    }

private:
    std::vector<CFFT> frames_;
    int count_ = 0;
};

} // namespace tessimo
