#include "model/CNotesList.h"

namespace tessimo {

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
    for (auto& note : notes_) {
        if (note->answered == 0) {
            return note.get();
        }
    }
    return nullptr;
}

const CNote* CNotesList::firstUnanswered() const {
    for (const auto& note : notes_) {
        if (note->answered == 0) {
            return note.get();
        }
    }
    return nullptr;
}

void CNotesList::markFirstGroupAnswered() {
    std::size_t i = 0;
    while (i < notes_.size() && notes_[i]->answered != 0) {
        ++i;
    }
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
    std::size_t i = 0;
    while (i < notes_.size() && notes_[i]->answered != 0) {
        ++i;
    }
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
