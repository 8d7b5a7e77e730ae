#include "recognition/TemplateSpread.h"

#include <algorithm>

#include "recognition/WarpDistance.h"

namespace tessimo {
namespace {

float median(std::vector<float> v) {
    if (v.empty()) {
        return 0.0f;
    }
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    return *middle;
}

// How far past the usual distance between two takes of one word a new take may lie, as a
// share of the gap between that and the usual distance to another word.
constexpr float AcceptShareOfGap = 0.6f;
// Without a second take of any word, the limit is this share of the distance to other words.
constexpr float AcceptShareOfBetween = 0.8f;
// The margin is this share of the relative gap between words and takes, within bounds.
constexpr float MarginShareOfGap = 0.25f;
constexpr float MinMargin = 0.03f;
constexpr float MaxMargin = 0.15f;
constexpr float MarginWithoutTakes = 0.05f;
// A word that stands this far above its room is heard as in a quiet room; below that, each
// 10 dB less widens the accepting distance by this share.
constexpr float ClearRangeDb = 35.0f;
constexpr float NoiseWidening = 0.25f;
// Two words whose templates, heard in the word's room, lie at least this share of the usual
// distance between words apart are still told apart in that room.
constexpr float ApartInRoomShareOfBetween = 0.5f;

// The second smallest of the values.
float secondSoFar(const std::array<float, TemplateSlotCount>& v) {
    float first = WarpInfinity, second = WarpInfinity;
    for (const float x : v) {
        if (x < first) {
            second = first;
            first = x;
        } else if (x < second) {
            second = x;
        }
    }
    return second;
}

} // namespace

void TemplateSpread::prepare(const std::array<WordSlot, WordSlotCount>& slots) {
    ReserveFeatures(noisy_, MaxFeatureFrames);
    ReserveFeatures(noisyOther_, MaxFeatureFrames);
    for (int s = 0; s < TemplateSlotCount; ++s) {
        const WordSlot& word = slots[static_cast<std::size_t>(s)];
        present_[static_cast<std::size_t>(s)] = word.length() != 0;
        WordFeatures& f = features_[static_cast<std::size_t>(s)];
        if (word.length() != 0) {
            ComputeFeatures(word.samples.data(), static_cast<int>(word.samples.size()), f);
        } else {
            f.frames = 0;
            f.values.clear();
        }
    }
    voice_ = measure(0, 36);
    instrument_ = measure(36, TemplateSlotCount);
}

SpreadLimits TemplateSpread::measure(int firstSlot, int endSlot) const {
    std::vector<float> within, between;
    for (int a = firstSlot; a < endSlot; ++a) {
        if (!present_[static_cast<std::size_t>(a)]) {
            continue;
        }
        float same = WarpInfinity, other = WarpInfinity;
        for (int b = firstSlot; b < endSlot; ++b) {
            if (b == a || !present_[static_cast<std::size_t>(b)]) {
                continue;
            }
            // Only the nearest of each kind counts: farther ones are given up early.
            float& nearest = WordClassOf(a) == WordClassOf(b) ? same : other;
            const int step = MatchStep(features(a).frames, features(b).frames);
            nearest = std::min(nearest,
                               FeatureWarpDistance(features(a), features(b), nearest, step, step));
        }
        if (same < WarpInfinity) {
            within.push_back(same);
        }
        if (other < WarpInfinity) {
            between.push_back(other);
        }
    }
    SpreadLimits limits;
    limits.within = median(within);
    limits.between = median(between);
    if (!within.empty() && !between.empty()) {
        const float gap = std::max(0.0f, limits.between - limits.within);
        limits.acceptDistance = limits.within + AcceptShareOfGap * gap;
        limits.margin = std::clamp(MarginShareOfGap * gap / limits.between, MinMargin, MaxMargin);
    } else if (!between.empty()) {
        limits.acceptDistance = AcceptShareOfBetween * limits.between;
        limits.margin = MarginWithoutTakes;
    } else if (!within.empty()) {
        limits.acceptDistance = 2.0f * limits.within; // one word only: no margin to keep
    }
    return limits;
}

AdaptiveMatch TemplateSpread::match(const WordFeatures& word,
                                    const std::array<std::uint8_t, TemplateSlotCount>& candidate) {
    // The nearest take of each word class; classes are at most 84 (voice classes 0..11 and
    // instrument slots 36..83 never collide).
    std::array<float, TemplateSlotCount> nearest;
    std::array<int, TemplateSlotCount> nearestSlot;
    nearest.fill(WarpInfinity);
    nearestSlot.fill(-1);
    for (int s = 0; s < TemplateSlotCount; ++s) {
        if (candidate[static_cast<std::size_t>(s)] == 0 || !present_[static_cast<std::size_t>(s)]) {
            continue;
        }
        if (!CanWarp(word.frames, features(s).frames)) {
            continue; // no path: spare the template its room
        }
        const int step = MatchStep(word.frames, features(s).frames);
        const WordFeatures& heard = noisyTemplate(s, word, step);
        const auto c = static_cast<std::size_t>(WordClassOf(s));
        // Only the two best classes matter: a template further than the second best so far
        // can change neither.
        const float d =
            FeatureWarpDistance(word, heard, std::max(nearest[c], secondSoFar(nearest)), step);
        if (d < nearest[c]) { // strictly: ties keep the lower slot
            nearest[c] = d;
            nearestSlot[c] = s;
        }
    }
    AdaptiveMatch m;
    for (std::size_t c = 0; c < nearest.size(); ++c) {
        if (nearestSlot[c] < 0) {
            continue;
        }
        if (nearest[c] < m.distance || (nearest[c] == m.distance && nearestSlot[c] < m.slot)) {
            m.secondDistance = m.distance;
            m.secondSlot = m.slot;
            m.distance = nearest[c];
            m.slot = nearestSlot[c];
        } else if (nearest[c] < m.secondDistance) {
            m.secondDistance = nearest[c];
            m.secondSlot = nearestSlot[c];
        }
    }
    if (m.slot >= 0 && m.distance < WarpInfinity) {
        const SpreadLimits& l = limits(m.slot);
        // Noise moves a word away from every template, its own included: the limit widens as
        // the word stands less far above its room (the margin still keeps the others apart).
        const float widening =
            1.0f + NoiseWidening * std::max(0.0f, ClearRangeDb - word.rangeDb) / 10.0f;
        m.nearEnough = m.distance <= l.acceptDistance * widening;
        // Strictly closer, and by the margin: two words at one distance are not told apart.
        bool clearlyBest = m.secondSlot < 0 || (m.distance < m.secondDistance &&
                                                m.distance <= (1.0f - l.margin) * m.secondDistance);
        // The room's noise lengthens the distances from the word to every template alike, so
        // the best and the second best come nearer in ratio by about the share the accepting
        // distance widens by. The margin shrinks by that share only when the two words stay
        // apart in this room (their templates, both heard in it, lie at least half the usual
        // distance between words apart): then the room has left what tells them apart. When
        // it drowns that (a consonant in hiss), the two words become one sound, nearness to
        // one of them tells nothing, and the full margin stays.
        const float roomMargin = std::max(std::min(l.margin, MinMargin), l.margin / widening);
        if (m.nearEnough && !clearlyBest && m.distance < m.secondDistance &&
            m.distance <= (1.0f - roomMargin) * m.secondDistance) {
            clearlyBest = apartInRoom(m.slot, m.secondSlot, word);
        }
        m.accepted = m.nearEnough && clearlyBest;
    }
    return m;
}

float TemplateSpread::distanceTo(const WordFeatures& word, int slot) {
    if (slot < 0 || slot >= TemplateSlotCount || !present_[static_cast<std::size_t>(slot)]) {
        return WarpInfinity;
    }
    const int step = MatchStep(word.frames, features(slot).frames);
    return FeatureWarpDistance(word, noisyTemplate(slot, word, step), WarpInfinity, step);
}

bool TemplateSpread::apartInRoom(int a, int b, const WordFeatures& word) {
    AddNoise(features(a), word.noise, noisy_, word.heldRoom);
    AddNoise(features(b), word.noise, noisyOther_, word.heldRoom);
    const int step = MatchStep(noisy_.frames, noisyOther_.frames);
    const float apart = ApartInRoomShareOfBetween * limits(a).between;
    // Given up past the limit: then they lie further apart than it, which is all it asks.
    return FeatureWarpDistance(noisy_, noisyOther_, apart, step, step) >= apart;
}

const WordFeatures& TemplateSpread::noisyTemplate(int slot, const WordFeatures& word, int step) {
    AddNoise(features(slot), word.noise, noisy_, word.heldRoom, step);
    return noisy_;
}

std::vector<ConfusablePair> TemplateSpread::confusable() const {
    std::vector<ConfusablePair> pairs;
    for (int a = 0; a < TemplateSlotCount; ++a) {
        if (!present_[static_cast<std::size_t>(a)]) {
            continue;
        }
        for (int b = a + 1; b < TemplateSlotCount; ++b) {
            if (!present_[static_cast<std::size_t>(b)] || WordClassOf(a) == WordClassOf(b) ||
                (a < 36) != (b < 36)) {
                continue;
            }
            const int step = MatchStep(features(a).frames, features(b).frames);
            const float d = FeatureWarpDistance(features(a), features(b), WarpInfinity, step, step);
            if (d > limits(a).acceptDistance) {
                continue;
            }
            const int first = a < 36 ? WordClassOf(a) : a;
            const int second = b < 36 ? WordClassOf(b) : b;
            auto known = std::find_if(pairs.begin(), pairs.end(), [&](const ConfusablePair& p) {
                return (p.first == first && p.second == second) ||
                       (p.first == second && p.second == first);
            });
            if (known == pairs.end()) {
                pairs.push_back({std::min(first, second), std::max(first, second), d});
            } else {
                known->distance = std::min(known->distance, d);
            }
        }
    }
    std::sort(pairs.begin(), pairs.end(), [](const ConfusablePair& x, const ConfusablePair& y) {
        return x.distance < y.distance;
    });
    return pairs;
}

} // namespace tessimo
