// The score texts above the staff in the games with limits, and the countdown before
// recording. User-interface thread only.
#pragma once

namespace tessimo {

struct PaintContext;

// "Unkwn %d/%d", "Errors %d/%d" and "OK %d" along the top of the staff area; nothing unless a
// game limit is on.
void drawScorePanel(PaintContext& context);

// The digit counting down to the start of recording, while the record position is negative;
// "Quiet please" while a Recognize game listens to the room.
void drawCountdown(PaintContext& context);

} // namespace tessimo
