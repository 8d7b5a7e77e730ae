#include "recognition/AdaptiveDetector.h"

#include <cmath>

namespace tessimo {
namespace {

// Rates at which the floor follows the level of a block that is not speech: quickly down (the
// room went quieter, or the calibration caught a breath), slowly up (a fan speeding up).
constexpr float FloorFallRate = 0.3f;
constexpr float FloorRiseRate = 0.03f;
constexpr int RecentBlocks = 44; // about 1 s

} // namespace

AdaptiveDetector::AdaptiveDetector(AdaptiveDetectorTuning tuning) : tuning_(tuning) {
    calibrationLevels_.reserve(static_cast<std::size_t>(tuning_.calibrationBlocks));
    preRoll_.resize(static_cast<std::size_t>(tuning_.preRollBlocks) * BlockSamples);
    recentLevels_.resize(RecentBlocks);
    word_.resize(static_cast<std::size_t>(tuning_.maxWordBlocks + tuning_.preRollBlocks + 1) *
                 BlockSamples);
    restart();
}

void AdaptiveDetector::restart() {
    pending_ = 0;
    blocks_ = 0;
    wordStart_ = 0;
    calibrated_ = false;
    calibrationCount_ = 0;
    calibrationLevels_.clear();
    preRollNext_ = preRollFilled_ = 0;
    recentNext_ = recentFilled_ = 0;
    onsetCount_ = 0;
    inWord_ = false;
    wordLength_ = 0;
}

void AdaptiveDetector::restartWithFloor(float floorDb) {
    restart();
    calibrated_ = true;
    floorDb_ = floorDb;
}

float AdaptiveDetector::BlockLevelDb(const std::int16_t* x, std::size_t n) {
    if (n == 0) {
        return 0.0f;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += x[i];
    }
    const double mean = sum / static_cast<double>(n);
    double squares = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = x[i] - mean;
        squares += d * d;
    }
    return static_cast<float>(10.0 * std::log10(squares / static_cast<double>(n) + 1.0));
}

float AdaptiveDetector::recentMedianDb() const {
    std::array<float, RecentBlocks> sorted{};
    const int n = recentFilled_;
    std::copy_n(recentLevels_.begin(), n, sorted.begin());
    std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.begin() + n);
    return sorted[static_cast<std::size_t>(n / 2)];
}

void AdaptiveDetector::trackFloor(float level) {
    const float rate = level < floorDb_ ? FloorFallRate : FloorRiseRate;
    floorDb_ += rate * (level - floorDb_);
}

void AdaptiveDetector::appendToWord(const std::int16_t* x, std::size_t n) {
    const std::size_t room = word_.size() - wordLength_;
    const std::size_t take = std::min(n, room);
    std::copy_n(x, take, word_.begin() + static_cast<std::ptrdiff_t>(wordLength_));
    wordLength_ += take;
}

bool AdaptiveDetector::finishWord() {
    inWord_ = false;
    onsetCount_ = 0;
    preRollFilled_ = 0;
    if (loudBlocks_ < tuning_.minLoudBlocks) {
        return false; // a click or a knock
    }
    wordLength_ =
        std::min(wordLength_,
                 lastLoudEnd_ + static_cast<std::size_t>(tuning_.postRollBlocks * BlockSamples));
    return true;
}

bool AdaptiveDetector::step() {
    ++blocks_;
    const float level = BlockLevelDb(block_.data(), BlockSamples);
    recentLevels_[static_cast<std::size_t>(recentNext_)] = level;
    recentNext_ = (recentNext_ + 1) % RecentBlocks;
    recentFilled_ = std::min(recentFilled_ + 1, RecentBlocks);

    if (!calibrated_) {
        calibrationLevels_.push_back(level); // reserved: no allocation
        if (++calibrationCount_ >= tuning_.calibrationBlocks) {
            // The median, so that a cough during the countdown does not raise the floor much.
            auto middle = calibrationLevels_.begin() +
                          static_cast<std::ptrdiff_t>(calibrationLevels_.size() / 2);
            std::nth_element(calibrationLevels_.begin(), middle, calibrationLevels_.end());
            floorDb_ = *middle;
            calibrated_ = true;
        }
        return false;
    }

    if (!inWord_) {
        if (level > floorDb_ + tuning_.startAboveFloorDb) {
            ++onsetCount_;
        } else {
            onsetCount_ = 0;
            trackFloor(level);
        }
        // The block joins the pre-roll ring either way.
        std::copy(block_.begin(), block_.end(),
                  preRoll_.begin() + static_cast<std::ptrdiff_t>(preRollNext_) * BlockSamples);
        preRollNext_ = (preRollNext_ + 1) % tuning_.preRollBlocks;
        preRollFilled_ = std::min(preRollFilled_ + 1, tuning_.preRollBlocks);
        if (onsetCount_ >= tuning_.startBlocks) {
            inWord_ = true;
            wordLength_ = 0;
            wordStart_ = (blocks_ - static_cast<std::size_t>(preRollFilled_)) * BlockSamples;
            const int first =
                (preRollNext_ - preRollFilled_ + tuning_.preRollBlocks) % tuning_.preRollBlocks;
            for (int b = 0; b < preRollFilled_; ++b) {
                const int index = (first + b) % tuning_.preRollBlocks;
                appendToWord(preRoll_.data() + static_cast<std::ptrdiff_t>(index) * BlockSamples,
                             BlockSamples);
            }
            wordBlocks_ = preRollFilled_;
            loudBlocks_ = onsetCount_;
            lastLoudEnd_ = wordLength_;
            quietRun_ = 0;
        }
        return false;
    }

    appendToWord(block_.data(), BlockSamples);
    ++wordBlocks_;
    if (level > floorDb_ + tuning_.stayAboveFloorDb) {
        ++loudBlocks_;
        quietRun_ = 0;
        lastLoudEnd_ = wordLength_;
    } else if (++quietRun_ >= tuning_.hangoverBlocks) {
        return finishWord();
    }
    if (wordBlocks_ >= tuning_.maxWordBlocks) {
        // Nobody speaks this long: the room got louder. Take its level as the new floor.
        inWord_ = false;
        onsetCount_ = 0;
        preRollFilled_ = 0;
        floorDb_ = recentMedianDb();
    }
    return false;
}

} // namespace tessimo
