// The user's templates as the adaptive matching sees them, and the limits that come from
// how far apart they lie: a word is judged only when it is about as close to its best
// template as the user's own takes of one word are to each other, and clearly closer to it
// than to any other word.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "recognition/ConfusablePair.h"
#include "recognition/RecognizerEntryPoints.h"
#include "recognition/WordFeatures.h"
#include "recognition/WordSlot.h"

namespace tessimo {

// The word a slot stands for: the pitch class for spoken names (slots c, c + 12, c + 24 are
// takes of one name), the slot itself for instrument pitches.
inline int WordClassOf(int slot) {
    return slot < 36 ? slot % 12 : slot;
}

struct AdaptiveMatch {
    int slot = -1; // best template, -1 when there is none
    float distance = 1e20f;
    int secondSlot = -1; // best template of another word
    float secondDistance = 1e20f;
    bool nearEnough = false; // the best lies within the accepting distance (margin aside)
    bool accepted = false;   // within the limits below: near enough and clearly the best
};

// Limits of one part of the vocabulary (spoken names, or instrument pitches).
struct SpreadLimits {
    float within = 0.0f;  // median distance from a take to the nearest other take of its word
    float between = 0.0f; // median distance from a template to the nearest other word
    float acceptDistance = 1e20f; // a best distance above this is too far from every word
    float margin = 0.0f;          // the best must be at most (1 - margin) times the second best
};

class TemplateSpread {
public:
    // Computes the features of every template 0..83 and the limits of both parts. Thread of
    // the entry points, with capture stopped; allocates.
    void prepare(const std::array<WordSlot, WordSlotCount>& slots);

    // The best and second best word among the candidate templates, each heard with the
    // word's own room noise added, and whether the best one is judged. Allocates nothing;
    // the thread that owns this object, once prepared.
    AdaptiveMatch match(const WordFeatures& word,
                        const std::array<std::uint8_t, TemplateSlotCount>& candidate);

    // The distance from word to the template of slot, heard in the word's room (WarpInfinity
    // without a template). Allocates nothing; the thread that owns this object.
    float distanceTo(const WordFeatures& word, int slot);

    // The pairs of recorded words that lie closer together than the accepting distance, the
    // closest first. Thread of the entry points.
    std::vector<ConfusablePair> confusable() const;

    bool hasTemplate(int slot) const { return present_[static_cast<std::size_t>(slot)]; }
    const SpreadLimits& limits(int slot) const { return slot < 36 ? voice_ : instrument_; }
    const WordFeatures& features(int slot) const {
        return features_[static_cast<std::size_t>(slot)];
    }

private:
    SpreadLimits measure(int firstSlot, int endSlot) const;
    // Whether the templates of slots a and b, both heard in the word's room, still lie at least
    // ApartInRoomShareOfBetween of the usual distance between words apart.
    bool apartInRoom(int a, int b, const WordFeatures& word);
    // The template of slot heard in the word's room, every step-th frame.
    const WordFeatures& noisyTemplate(int slot, const WordFeatures& word, int step);

    std::array<WordFeatures, TemplateSlotCount> features_;
    std::array<bool, TemplateSlotCount> present_{};
    SpreadLimits voice_, instrument_;
    WordFeatures noisy_;      // a template in the room of the word being matched
    WordFeatures noisyOther_; // another one, to compare two templates in that room
};

} // namespace tessimo
