#include "model/CNotesList.h"

namespace tessimo {

namespace {

// Index of the first note not yet answered, or notes.size() when every note is answered.
std::size_t firstUnansweredIndex(const std::deque<std::unique_ptr<CNote>>& notes) {
    std::size_t i = 0;
    while (i < notes.size() && notes[i]->answered != 0) {
        ++i;
    }
    return i;
}

} // namespace

CNote& CNotesList::appendAt(std::unique_ptr<CNote> note, int x) {
    note->x = x;
    note->answered = 0;
    notes_.push_back(std::move(note));
    return *notes_.back();
}

bool CNotesList::advance(int step, int leftBound, bool* droppedAny) {
    for (auto& note : notes_) {
        note->x -= step;
    }
    bool droppedUnanswered = false;
    bool dropped = false;
    while (!notes_.empty() && notes_.front()->x < leftBound) {
        if (notes_.front()->answered == 0) {
            droppedUnanswered = true;
        }
        notes_.pop_front();
        dropped = true;
        // The rest of the dropped group leaves with it, wherever it lies.
        while (!notes_.empty() && notes_.front()->groupIndex > 0) {
            notes_.pop_front();
        }
    }
    if (droppedAny != nullptr) {
        *droppedAny = dropped;
    }
    return droppedUnanswered;
}

CNote* CNotesList::firstUnanswered() {
    const std::size_t i = firstUnansweredIndex(notes_);
    return i < notes_.size() ? notes_[i].get() : nullptr;
}

const CNote* CNotesList::firstUnanswered() const {
    const std::size_t i = firstUnansweredIndex(notes_);
    return i < notes_.size() ? notes_[i].get() : nullptr;
}

void CNotesList::markFirstGroupAnswered() {
    std::size_t i = firstUnansweredIndex(notes_);
    if (i == notes_.size()) {
        return;
    }
    notes_[i]->answered = 1;
    for (++i; i < notes_.size() && notes_[i]->groupIndex != 0; ++i) {
        notes_[i]->answered = 1;
    }
}

void CNotesList::copyAllTo(CNotesList& destination) const {
    destination.removeAll();
    for (const auto& note : notes_) {
        destination.appendAt(*note, note->x);
    }
}

void CNotesList::copyFirstGroupTo(CNotesList& destination) const {
    destination.removeAll();
    std::size_t i = firstUnansweredIndex(notes_);
    if (i == notes_.size()) {
        return;
    }
    destination.appendAt(*notes_[i], notes_[i]->x);
    for (++i; i < notes_.size() && notes_[i]->groupIndex != 0; ++i) {
        if (notes_[i]->answered == 0) {
            destination.appendAt(*notes_[i], notes_[i]->x);
        }
    }
}

} // namespace tessimo
