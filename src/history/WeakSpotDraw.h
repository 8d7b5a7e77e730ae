// The weighted draw of question pitches from one user's history: each selected pitch weighs
// by its Leitner box (WeakSpotWeights.h), from its last answers in the exercise. The answers
// are read from the history file once per pitch and exercise, the first time they are needed
// (an indexed look-up of four rows), and follow the answers reported since. No Qt; the
// user-interface thread.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "history/AnswerOutcome.h"

namespace tessimo {

class HistoryQueries;

class WeakSpotDraw {
public:
    // The history at path; a missing or unreadable file counts as no answers (every pitch in
    // box 1, so the draw is even).
    explicit WeakSpotDraw(std::string path);
    ~WeakSpotDraw();
    WeakSpotDraw(const WeakSpotDraw&) = delete;
    WeakSpotDraw& operator=(const WeakSpotDraw&) = delete;

    const std::string& path() const { return path_; }

    // The index into selection of the pitch to ask in exercise, from one random number r;
    // always within the selection, -1 only for an empty one.
    int draw(Exercise exercise, std::span<const int> selection, std::uint32_t r);

    // An answer just judged, so that the weights of a pitch already read follow the game
    // before the history file has the answer.
    void noteOutcome(const AnswerOutcome& answer);

    // Forgets what was read, so that the next draws read the file again (at the start of a
    // game, when another program or run may have added answers).
    void reload();

private:
    using Key = std::pair<int, int>; // exercise, pitch
    std::deque<Outcome>& recent(Exercise exercise, int pitch);

    std::string path_;
    std::unique_ptr<HistoryQueries> queries_; // opened on first need
    bool opened_ = false;
    std::map<Key, std::deque<Outcome>> recent_; // newest first, at most four
};

} // namespace tessimo
