// How far the scrolling exercises move their notes per tick, and the move itself.
// User-interface thread only.
#pragma once

namespace tessimo {

class CNotesList;
struct SettingsRecord;

// x per tick for single-note questions: by the speed, or with speed 0 waiting at x 1600 for
// the first unanswered question to be answered and catching up otherwise.
int noteScrollStep(const SettingsRecord& settings, const CNotesList& questions);
// The same for group questions, waiting while the answer group stands at x 1600 or before.
int groupScrollStep(const SettingsRecord& settings, const CNotesList& answerGroup);

// Moves list left by step and drops the notes past the left bound. Returns whether any note
// was dropped; droppedUnanswered (when given) tells whether an unanswered one was.
bool scrollList(CNotesList& list, int step, bool* droppedUnanswered = nullptr);

} // namespace tessimo
