// An owning list of notes: the scrolling question notes, the group the user places, the
// user's last wrong group. Every note that leaves a list is deleted. User-interface thread only.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>

#include "model/CNote.h"

namespace tessimo {

// Right-hand entry edge of the staff and the bound below which scrolling notes leave it.
inline constexpr int EntryX = 1960;
inline constexpr int LeftBound = 200;

class CNotesList {
public:
    CNotesList() = default;
    CNotesList(const CNotesList&) = delete;
    CNotesList& operator=(const CNotesList&) = delete;

    // Removes and deletes every note.
    void removeAll() { notes_.clear(); }

    // Sets the note's x and clears answered, then adds it at the tail (the list owns it).
    // Returns the stored note.
    CNote& appendAt(std::unique_ptr<CNote> note, int x);
    CNote& appendAt(const CNote& note, int x) { return appendAt(std::make_unique<CNote>(note), x); }

    // appendAt(note, 1960).
    CNote& appendAtEntry(const CNote& note) { return appendAt(note, EntryX); }

    // Scrolls every note left by step, then drops head notes below leftBound together with the
    // rest of their group. Returns true when an unanswered note was dropped; droppedAny (when
    // given) tells whether any note was dropped at all.
    bool advance(int step, int leftBound, bool* droppedAny = nullptr);

    // Marks the first unanswered note and the unanswered notes of its group answered.
    void markFirstGroupAnswered();

    // Empties destination, then appends a copy of every note at its own x (copies unanswered).
    void copyAllTo(CNotesList& destination) const;

    // Empties destination, then copies the first unanswered note and the following unanswered
    // notes of its group, each at its own x.
    void copyFirstGroupTo(CNotesList& destination) const;

    // The first note not yet answered, or nullptr.
    CNote* firstUnanswered();
    const CNote* firstUnanswered() const;

    bool empty() const { return notes_.empty(); }
    std::size_t size() const { return notes_.size(); }
    CNote& operator[](std::size_t i) { return *notes_[i]; }
    const CNote& operator[](std::size_t i) const { return *notes_[i]; }
    CNote& front() { return *notes_.front(); }
    const CNote& front() const { return *notes_.front(); }
    CNote& back() { return *notes_.back(); }
    const CNote& back() const { return *notes_.back(); }

    // Iteration over the notes (as CNote&), head first.
    template <class It, class Ref> class Iterator {
    public:
        explicit Iterator(It it) : it_(it) {}
        Ref operator*() const { return **it_; }
        auto* operator->() const { return it_->get(); }
        Iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return it_ == other.it_; }

    private:
        It it_;
    };
    using iterator = Iterator<std::deque<std::unique_ptr<CNote>>::iterator, CNote&>;
    using const_iterator =
        Iterator<std::deque<std::unique_ptr<CNote>>::const_iterator, const CNote&>;
    iterator begin() { return iterator(notes_.begin()); }
    iterator end() { return iterator(notes_.end()); }
    const_iterator begin() const { return const_iterator(notes_.begin()); }
    const_iterator end() const { return const_iterator(notes_.end()); }

private:
    std::deque<std::unique_ptr<CNote>> notes_;
};

} // namespace tessimo
