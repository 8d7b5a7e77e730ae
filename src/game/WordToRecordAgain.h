// A recorded word the user may want to record again, one at a time: a word of the last Record
// that captured nothing, or one that lies too close to another word to be told apart.
#pragma once

#include <string>

namespace tessimo {

struct WordToRecordAgain {
    int word = -1;             // lowest slot: the pitch class of a name, the pitch of a note
    std::string name;          // as the user reads it: "SOL", "RE 4"
    bool heardNothing = false; // else it sounds like another word
};

} // namespace tessimo
