// Word detection against a noise floor that is measured at the start and tracked while nobody
// speaks: a word starts when the sound rises clearly above the floor, ends after a stretch of
// sound close to the floor (the hangover keeps weak endings), and is handed over with a short
// pre-roll before its start.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessimo {

struct AdaptiveDetectorTuning {
    int calibrationBlocks = 24;     // about 0.56 s of sound measured before detection starts
    float startAboveFloorDb = 9.0f; // a block this far above the floor may start a word
    int startBlocks = 2;            // consecutive loud blocks that start a word
    float stayAboveFloorDb = 5.0f;  // a block this far above the floor keeps a word going
    int hangoverBlocks = 12;        // quiet blocks (about 280 ms) that end a word
    int preRollBlocks = 5;          // blocks kept before the start (about 116 ms)
    int postRollBlocks = 4;         // blocks kept after the last loud one
    int minLoudBlocks = 4;          // a word needs this many loud blocks (about 93 ms)
    int maxWordBlocks = 110;        // a longer word (about 2.6 s) is dropped as steady noise
};

class AdaptiveDetector {
public:
    static constexpr int BlockSamples = 512; // about 23 ms at 22000 Hz

    explicit AdaptiveDetector(AdaptiveDetectorTuning tuning = {});

    // Starts over: measures the floor from the next calibrationBlocks blocks. With a known
    // floor (in dB, see BlockLevelDb), skips the measurement. Thread of the feeder.
    void restart();
    void restartWithFloor(float floorDb);

    // Feeds count samples. For every word that ends, onWord(samples, n) is called with the
    // word's samples (pre-roll and a short tail included), valid only during the call.
    // Allocates nothing after construction. Thread of the feeder.
    template <typename OnWord>
    void feed(const std::int16_t* x, std::size_t count, OnWord&& onWord) {
        while (count > 0) {
            const std::size_t take =
                std::min<std::size_t>(count, static_cast<std::size_t>(BlockSamples - pending_));
            for (std::size_t i = 0; i < take; ++i) {
                block_[static_cast<std::size_t>(pending_) + i] = x[i];
            }
            pending_ += static_cast<int>(take);
            x += take;
            count -= take;
            if (pending_ == BlockSamples) {
                pending_ = 0;
                if (step()) {
                    onWord(word_.data(), wordLength_);
                }
            }
        }
    }

    // Ends a word under way as if the sound had gone quiet (for the end of a file); calls
    // onWord when it is long enough. Thread of the feeder.
    template <typename OnWord> void flush(OnWord&& onWord) {
        if (inWord_ && finishWord()) {
            onWord(word_.data(), wordLength_);
        }
        inWord_ = false;
    }

    bool calibrated() const { return calibrated_; }
    bool inWord() const { return inWord_; }
    float floorDb() const { return floorDb_; }
    // Where the last word handed over starts, in samples fed since the last restart.
    std::size_t lastWordStart() const { return wordStart_; }

    // 10 log10 of the mean square deviation from the mean, plus one so that digital silence
    // is 0 dB rather than minus infinity. Any thread.
    static float BlockLevelDb(const std::int16_t* x, std::size_t n);

private:
    bool step(); // one full block; true when a word ended with it
    bool finishWord();
    void appendToWord(const std::int16_t* x, std::size_t n);
    void trackFloor(float level);
    float recentMedianDb() const;

    AdaptiveDetectorTuning tuning_;
    std::array<std::int16_t, BlockSamples> block_{};
    int pending_ = 0;
    std::size_t blocks_ = 0; // full blocks since the last restart
    std::size_t wordStart_ = 0;

    bool calibrated_ = false;
    int calibrationCount_ = 0;
    std::vector<float> calibrationLevels_;
    float floorDb_ = 0.0f;

    std::vector<std::int16_t> preRoll_; // ring of the last preRollBlocks blocks
    int preRollNext_ = 0;
    int preRollFilled_ = 0;
    int onsetCount_ = 0;

    std::vector<float> recentLevels_; // ring of the last levels, for a floor that rose
    int recentNext_ = 0;
    int recentFilled_ = 0;

    bool inWord_ = false;
    std::vector<std::int16_t> word_;
    std::size_t wordLength_ = 0;
    std::size_t lastLoudEnd_ = 0; // samples of the word up to the end of its last loud block
    int wordBlocks_ = 0;
    int loudBlocks_ = 0;
    int quietRun_ = 0;
};

} // namespace tessimo
