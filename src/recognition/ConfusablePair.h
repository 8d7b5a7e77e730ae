// Two recorded words that lie so close together that a new take of one may well be taken for
// the other.
#pragma once

namespace tessimo {

// Slots are the lowest slot of each word: the pitch class (0..11) of a spoken name, the pitch
// (36..83) of an instrument note.
struct ConfusablePair {
    int first = -1;
    int second = -1;
    float distance = 0.0f;
};

} // namespace tessimo
