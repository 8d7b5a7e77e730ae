// The view's game state: the mode, the score, the clocks of the game loop and the state of
// the group being placed. Plain data, owned by CBrindelView and read by the painter.
// User-interface thread only.
#pragma once

#include <cstdint>
#include <string>

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

    // Unit clock of the scrolling modes.
    int unitCounter = -1;     // duration units elapsed since the mode started
    int pixelAccumulator = 0; // scrolled x not yet turned into a unit (18 x per unit)
    int barLength = 0;        // beatLength x beatsPerBar
    int barRemaining = 0;     // units left in the current bar
    int nextSpawnUnit = 0;    // unit of the next question (Listen notes: position in the bar)
    std::uint8_t unitMs = 0;  // milliseconds per duration unit, set when Listen notes starts

    // The group being placed in the interval and chord modes.
    int shownInterval = 0;
    int chosenInterval = 0;
    int shownChord = 0;
    int chosenChord = 0;
    int groupSpread = 0;     // largest x - smallest x of the answer group, to centre its label
    std::string displayText; // label of the answer group, e.g. "DO +7/2" or "SOL m"

    // Group playback (intervals and chords sounded note by note).
    bool playPending = false;
    int playThreshold = 0;
    int lastPlayedGroup = -1;
    std::uint32_t lastStepTick = 0;
    std::uint32_t lastQuestionTick = 0;
};

} // namespace tessimo
