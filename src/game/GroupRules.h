// Where an interval or a chord may stand, which chord a group is, and whether a placed group
// answers the question. Pure functions; user-interface thread (they read the view's data).
#pragma once

#include "model/AnswerOutcome.h"
#include "model/CNotesList.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

namespace tessimo {

// Whether an interval of n half-tones (-12..12, signed from the reference note) may stand on
// base: its size and direction are enabled, both notes lie in 36..83, base is selected and,
// with selectedNotesOnly, the other note too.
bool intervalFits(const SettingsRecord& settings, const PitchTable& table, int base, int n);

// Whether chord slot row (0..19; only 0..9 name a chord) may be built upward on base.
bool chordFits(const SettingsRecord& settings, const PitchTable& table, int base, int row);

// The first chord row whose note count and members match the group (0 when none does).
int identifyChord(const CNotesList& group);

// The pitches of the first unanswered group of the question notes, in list order (empty when
// every note is answered); block tells whether its first two notes stand at the same x (a block
// chord or a harmonic interval).
PitchGroup firstQuestionGroup(const CNotesList& questions, bool* block);

// The pitches of a group of notes, in list order (at most PitchGroup::Capacity).
PitchGroup pitchesOf(const CNotesList& group);

// Whether given answers expected: as sets when block, otherwise in order.
bool groupMatches(PitchGroup expected, bool block, PitchGroup given);

// Whether the answer group matches the first unanswered group of the question notes: block
// chords and harmonic intervals as sets, melodic intervals and arpeggios in order. No
// question at all is never matched.
bool compareGroups(const CNotesList& questions, const CNotesList& answer);

} // namespace tessimo
