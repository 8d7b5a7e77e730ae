// The view's game state: the mode, the score and the marks the painter shows. Each exercise
// keeps what is its own. Plain data, owned by CBrindelView and read by the painter.
// User-interface thread only.
#pragma once

#include "game/GameMode.h"

namespace tessimo {

struct GameState {
    GameMode gameMode = GameMode::Idle;
    // True while no timed exercise runs; the shell enables About only then.
    bool idle = true;
    int timerId = 0; // id of timer 1, 0 = none running
    // A game limit stopped the exercise: its notes and score stay on screen and no answer
    // counts any more until the next command.
    bool frozen = false;

    // Score.
    int okCount = 0;
    int errorCount = 0;
    int unknownCount = 0;

    int wrongMark = -1;       // pitch shown as the user's wrong answer, -1 for none
    int hoverPitch = -1;      // pitch under the mouse in Notes Dictation, -1 for none
    int expectedPitch = -1;   // pitch of the first unanswered question note, set by the tick
    int highlightPitch = 255; // pitch highlighted and sounded in Play notes, 255 for none
};

} // namespace tessimo
