// Random questions drawn from what the user selected: single notes, intervals and chords for
// the dictation games, and the group shown by the interval and chord play modes.
// User-interface thread only.
#pragma once

#include <array>

#include "game/GameMode.h"
#include "game/GroupShape.h"
#include "game/Platform.h"
#include "game/UnitClock.h"
#include "model/CNotesList.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

#include <cstdint>
#include <functional>
#include <span>

namespace tessimo {

// Chooses the pitch of a new Notes Dictation or Recognize question: given the game, the
// selected pitches in table order and one random number, the index of the one to ask. An
// index outside the selection falls back to the plain draw, random mod count.
using PitchDraw =
    std::function<int(GameMode mode, std::span<const int> selection, std::uint32_t random)>;
// How a new dictation question is shown at first: wheelSteps turns of the wheel (up when
// positive), then the group moved to each pitch of heights in turn, as a hand would. The
// user starts from a group of random shape at a random height and has to put it right.
struct GroupScramble {
    static constexpr int MoveCount = 10;
    int wheelSteps = 0;
    std::array<int, MoveCount> heights{};
};

// Index of the interval direction flags: together, up, down.
enum Direction : int { Together = 0, Up = 1, Down = 2 };

inline constexpr int NoteSpacing = 80;  // x between the notes of an arpeggio
inline constexpr int QuarterUnits = 16; // duration units of a quarter note
inline constexpr int PlayGroupX = 980;  // x of the play modes' interval
inline constexpr int PlayChordCentreX = 1000;

class QuestionGenerator {
public:
    // pitchDraw, when given and set, chooses the pitches of newNoteQuestion; otherwise they
    // are drawn evenly, as randomSelected does.
    QuestionGenerator(const SettingsRecord& settings, const PitchTable& table, RandomSource& random,
                      const PitchDraw* pitchDraw = nullptr)
        : settings_(settings), table_(table), random_(random), pitchDraw_(pitchDraw) {}

    // A copy of a random selected entry, or false when nothing is selected.
    bool randomSelected(CNote& note);

    // A random enabled direction (together when none is enabled).
    int drawDirection();

    // One note at the entry edge (Notes Dictation, Recognize); nextSpawnUnit += 16.
    void newNoteQuestion(GameMode mode, UnitClock& clock, CNotesList& questions);

    // One interval at the entry edge (Interval Dictation); nextSpawnUnit += 16 or 32.
    void newIntervalQuestion(UnitClock& clock, CNotesList& questions);

    // One chord, block or arpeggio, at the entry edge (Chords Dictation).
    void newChordQuestion(UnitClock& clock, CNotesList& questions);

    // The group of Play intervals / Play chords, into an empty answer group.
    void newPlayInterval(const UnitClock& clock, GroupShape& shape, CNotesList& group);
    void newPlayChord(GroupShape& shape, CNotesList& group);

    // The random start of a dictation question's answer group: up to 9 wheel steps in a random
    // direction, then ten heights among the selected pitches. Depends on nothing but the
    // selection and the random draws.
    GroupScramble drawScramble();

    // Whether an interval of n half-tones in direction sign (+1, -1) can stand on pitch p.
    bool intervalCandidate(int p, int n, int sign) const;
    // Whether chord row c can be built from pitch p in direction sign.
    bool chordCandidate(int p, int c, int sign) const;

private:
    int random(int n) {
        return n > 0 ? static_cast<int>(random_.next() % static_cast<unsigned>(n)) : 0;
    }
    int directionWithCandidates(bool chords);
    bool anyCandidate(bool chords, int sign) const;
    CNote noteAt(const CNote& model, int pitch) const;
    bool drawnSelected(GameMode mode, CNote& note);

    const SettingsRecord& settings_;
    const PitchTable& table_;
    RandomSource& random_;
    const PitchDraw* pitchDraw_;
};

} // namespace tessimo
