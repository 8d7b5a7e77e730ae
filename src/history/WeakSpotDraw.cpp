#include "history/WeakSpotDraw.h"

#include <vector>

#include "history/HistoryQueries.h"
#include "history/WeakSpotWeights.h"

namespace tessimo {

namespace {

// Only the last answers decide a box.
constexpr std::size_t KeptAnswers = LeitnerBoxCount - 1;

} // namespace

WeakSpotDraw::WeakSpotDraw(std::string path) : path_(std::move(path)) {}

WeakSpotDraw::~WeakSpotDraw() = default;

std::deque<Outcome>& WeakSpotDraw::recent(Exercise exercise, int pitch) {
    const Key key{static_cast<int>(exercise), pitch};
    const auto found = recent_.find(key);
    if (found != recent_.end()) {
        return found->second;
    }
    if (!opened_) {
        opened_ = true;
        HistoryProblem problem;
        queries_ = std::make_unique<HistoryQueries>(path_, problem);
        if (!queries_->isOpen()) {
            queries_.reset();
        }
    }
    std::deque<Outcome> outcomes;
    if (queries_) {
        const std::vector<Outcome> read =
            queries_->recentOutcomes(exercise, pitch, static_cast<int>(KeptAnswers));
        outcomes.assign(read.begin(), read.end());
    }
    return recent_.emplace(key, std::move(outcomes)).first->second;
}

int WeakSpotDraw::draw(Exercise exercise, std::span<const int> selection, std::uint32_t r) {
    if (selection.empty()) {
        return -1;
    }
    const std::vector<WeightedPitch> weights = weakSpotWeights(selection, [&](int pitch) {
        const std::deque<Outcome>& outcomes = recent(exercise, pitch);
        return std::vector<Outcome>(outcomes.begin(), outcomes.end());
    });
    return drawIndex(selection.size(), weights, r);
}

void WeakSpotDraw::noteOutcome(const AnswerOutcome& answer) {
    if (answer.expected.count != 1) {
        return; // the weights are of single notes
    }
    // A pitch not read yet is read with this answer once it is in the file.
    const auto found =
        recent_.find({static_cast<int>(answer.exercise), answer.expected.pitches[0]});
    if (found == recent_.end()) {
        return;
    }
    std::deque<Outcome>& outcomes = found->second;
    outcomes.push_front(answer.outcome);
    if (outcomes.size() > KeptAnswers) {
        outcomes.pop_back();
    }
}

void WeakSpotDraw::reload() {
    recent_.clear();
    queries_.reset();
    opened_ = false;
}

} // namespace tessimo
