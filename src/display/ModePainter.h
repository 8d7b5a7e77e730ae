// The notes, labels and keys that each game mode shows over the static staff and keyboard.
// User-interface thread only.
#pragma once

namespace tessimo {

struct PaintContext;

// Draws what the current mode shows of its notes. Returns the pitch of the first unanswered
// question note in Notes Dictation and Recognize (the note answers are checked against), or -1
// when the mode has no such note.
int drawNotesForMode(PaintContext& context);

} // namespace tessimo
