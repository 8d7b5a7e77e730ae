// What one paint of the main view reads: a plain snapshot of the view's exercise state, taken
// on the user-interface thread just before painting (ViewSnapshot.h); tests and benchmarks fill
// it directly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/GameMode.h"

namespace tessimo {

// The three fields of a note that its drawing depends on.
struct NoteGlyph {
    int pitch = 60;
    int durationCode = 5;
    int staffY = 0;
};

// A note of one of the view's lists (questions, the answer group, the wrong group).
struct ListNote {
    NoteGlyph glyph;
    int x = 0;
    bool answered = false;
    bool barStart = false;
    int groupIndex = 0;
    bool sounding = false; // Listen notes: the note's time window holds the paint's time
};

// One entry of the view's table of 100 pitch entries.
struct PitchEntry {
    bool selected = false;
    bool wordActive = false;
    NoteGlyph glyph;
};

// Which staves are shown and where.
struct StaffView {
    bool trebleShown = true;
    bool bassShown = false;
    int trebleOffset = 0;
    int bassOffset = 0;
};

inline constexpr int PitchEntryCount = 100;

struct FrameState {
    GameMode mode = GameMode::Idle;
    StaffView staff;
    std::array<PitchEntry, PitchEntryCount> table{};

    std::vector<ListNote> questionNotes;
    std::vector<ListNote> answerGroup;
    std::vector<ListNote> wrongGroup;
    std::string displayText; // name of the interval or chord group, UTF-8
    int groupSpread = 0;     // largest minus smallest x of the group as laid out

    int wrongMark = -1;
    int hoverPitch = -1;
    int highlightPitch = 255;
    int okCount = 0;
    int errorCount = 0;
    int unknownCount = 0;
    int wordCount = 0;
    int recordPosition = 0; // Record: -3, -2 count down, -1 hears the room, 0.. the words
    int currentWord = -1;   // table index of the word recorded or played back, -1 for none

    // What the window adds over a Recognize game.
    bool sayAgain = false;    // the last word heard was not judged: "?" over the question note
    bool quietPlease = false; // the room is being listened to before words are heard

    // From the settings.
    int soundMode = 2; // Voice 0, Instrument 1, Synthesizer 2
    int namingConvention = 0;
    bool errorLimitOn = false;
    bool unknownLimitOn = false;
    int maxErrors = 10;
    int maxUnknown = 10;
};

} // namespace tessimo
