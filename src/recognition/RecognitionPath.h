// Which of the two recognition paths a recogniser follows.
#pragma once

namespace tessimo {

enum class RecognitionPath {
    // Fixed threshold of twice the recorded noise level, trimming and warping distance as the
    // templates were always matched.
    Documented,
    // Noise floor measured at the start and tracked, normalised features, limits taken from
    // the user's templates, and the pitch tracker for instruments.
    Adaptive,
};

// How long the adaptive path listens to the room at the start of a recognition before it
// detects words: the time to show "Quiet please".
inline constexpr int AdaptiveCalibrationMilliseconds = 24 * 512 * 1000 / 22000 + 1;

} // namespace tessimo
