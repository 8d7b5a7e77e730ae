#include "game/QuestionGenerator.h"

#include <algorithm>
#include <array>

#include "model/ChordTable.h"
#include "model/Durations.h"
#include "model/Pitch.h"

namespace tessimo {

namespace {

struct Pair {
    std::uint8_t pitch;
    std::uint8_t value; // interval size or chord row
};

bool chordEnabled(const SettingsRecord& settings, int c) {
    return c >= 0 && c < ChordTypeCount && settings.chords[static_cast<std::size_t>(c)] != 0;
}

int shortestEnabledLength(const SettingsRecord& settings) {
    for (int code = DurationCodeCount - 1; code >= 0; --code) {
        if (settings.durations[static_cast<std::size_t>(code)] != 0) {
            return DurationTable[static_cast<std::size_t>(code)];
        }
    }
    return -1;
}

bool bar(int units, int barLength) {
    return barLength > 0 && units % barLength == 0;
}

} // namespace

bool QuestionGenerator::randomSelected(CNote& note) {
    const int count = table_.selectedCount();
    if (count <= 0) {
        return false;
    }
    const CNote* entry = table_.nthSelected(random(count));
    if (entry == nullptr) {
        return false;
    }
    note = *entry;
    return true;
}

// One random number, as randomSelected takes, given to the pitch draw with the selection.
bool QuestionGenerator::drawnSelected(GameMode mode, CNote& note) {
    if (pitchDraw_ == nullptr || !*pitchDraw_) {
        return randomSelected(note);
    }
    const int count = table_.selectedCount();
    if (count <= 0) {
        return false;
    }
    std::array<int, PitchTable::EntryCount> pitches{};
    const int n = std::min(count, static_cast<int>(pitches.size()));
    for (int i = 0; i < n; ++i) {
        pitches[static_cast<std::size_t>(i)] = table_.nthSelected(i)->pitch;
    }
    const std::uint32_t r = random_.next();
    int index =
        (*pitchDraw_)(mode, std::span<const int>(pitches.data(), static_cast<std::size_t>(n)), r);
    if (index < 0 || index >= n) {
        index = static_cast<int>(r % static_cast<std::uint32_t>(n));
    }
    const CNote* entry = table_.nthSelected(index);
    if (entry == nullptr) {
        return false;
    }
    note = *entry;
    return true;
}

CNote QuestionGenerator::noteAt(const CNote& model, int pitch) const {
    CNote note = model;
    note.pitch = static_cast<std::uint8_t>(pitch);
    note.staffY = table_[pitch].staffY;
    return note;
}

int QuestionGenerator::drawDirection() {
    const std::array<int, 3> flags = {settings_.intervalsTogether, settings_.intervalsUp,
                                      settings_.intervalsDown};
    int count = 0;
    for (int f : flags) {
        count += f != 0 ? 1 : 0;
    }
    if (count == 0) {
        return Together;
    }
    int k = random(count);
    for (int d = 0; d < 3; ++d) {
        if (flags[static_cast<std::size_t>(d)] != 0 && k-- == 0) {
            return d;
        }
    }
    return Together;
}

bool QuestionGenerator::intervalCandidate(int p, int n, int sign) const {
    if (n < 1 || n > 12 || settings_.intervals[static_cast<std::size_t>(n)] == 0 ||
        !table_.isSelected(p)) {
        return false;
    }
    const int other = p + sign * n;
    if (!isInRange(other)) {
        return false;
    }
    return settings_.selectedNotesOnly == 0 || table_.isSelected(other);
}

bool QuestionGenerator::chordCandidate(int p, int c, int sign) const {
    if (!chordEnabled(settings_, c) || !table_.isSelected(p)) {
        return false;
    }
    const ChordRow& row = ChordTable[static_cast<std::size_t>(c)];
    if (!isInRange(p + sign * row.span)) {
        return false;
    }
    if (settings_.selectedNotesOnly != 0) {
        const int base = sign < 0 ? p - row.span : p;
        for (int j = 0; j <= row.span; ++j) {
            if (row.halfTones[static_cast<std::size_t>(j)] != 0 && !table_.isSelected(base + j)) {
                return false;
            }
        }
    }
    return true;
}

bool QuestionGenerator::anyCandidate(bool chords, int sign) const {
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        for (int v = chords ? 0 : 1; v <= (chords ? ChordTypeCount - 1 : 12); ++v) {
            if (chords ? chordCandidate(p, v, sign) : intervalCandidate(p, v, sign)) {
                return true;
            }
        }
    }
    return false;
}

// A random enabled direction in which a question can be built. The enabling rules only prove
// that something fits upward, so a descending draw may have no candidate at all (only low
// pitches selected): then another enabled direction is drawn, and when none has candidates the
// question is built upward, the one direction that always fits.
int QuestionGenerator::directionWithCandidates(bool chords) {
    const int first = drawDirection();
    if (first != Down || anyCandidate(chords, -1)) {
        return first;
    }
    if (settings_.intervalsTogether != 0 && settings_.intervalsUp != 0) {
        return random(2) == 0 ? Together : Up;
    }
    if (settings_.intervalsTogether != 0) {
        return Together;
    }
    return Up;
}

GroupScramble QuestionGenerator::drawScramble() {
    GroupScramble scramble;
    const bool up = random_.next() % 2 == 0;
    const int steps = random(10);
    scramble.wheelSteps = up ? steps : -steps;
    for (int& height : scramble.heights) {
        CNote note;
        height = randomSelected(note) ? note.pitch : -1;
    }
    return scramble;
}

void QuestionGenerator::newNoteQuestion(GameMode mode, UnitClock& clock, CNotesList& questions) {
    CNote note;
    if (drawnSelected(mode, note)) {
        note.groupIndex = 0;
        note.isReference = 0;
        note.durationCode = QuarterCode;
        note.barStart = bar(clock.unitCounter, clock.barLength) ? 1 : 0;
        questions.appendAtEntry(note);
    }
    clock.nextSpawnUnit += QuarterUnits;
}

void QuestionGenerator::newIntervalQuestion(UnitClock& clock, CNotesList& questions) {
    const int direction = clock.barRemaining == shortestEnabledLength(settings_)
                              ? Together
                              : directionWithCandidates(false);
    const int sign = direction == Down ? -1 : 1;
    const int length = direction == Together ? 1 : 2;

    // Every acceptable (note, size) pair is equally likely, as with drawing both until they fit.
    std::array<Pair, PitchCount * 12> pairs{};
    int count = 0;
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        for (int n = 1; n <= 12; ++n) {
            if (intervalCandidate(p, n, sign)) {
                pairs[static_cast<std::size_t>(count++)] = {static_cast<std::uint8_t>(p),
                                                            static_cast<std::uint8_t>(n)};
            }
        }
    }
    if (count > 0) {
        const Pair pick = pairs[static_cast<std::size_t>(random(count))];
        CNote first = table_[pick.pitch];
        first.isReference = 1;
        first.durationCode = QuarterCode;
        first.groupIndex = 0;
        first.barStart = clock.barRemaining == clock.barLength ? 1 : 0;
        CNote second = noteAt(first, pick.pitch + sign * pick.value);
        second.isReference = 0;
        second.groupIndex = 1;
        second.barStart = 0;
        questions.appendAt(first, EntryX);
        questions.appendAt(second, direction == Together ? EntryX : EntryX + NoteSpacing);
    }
    clock.nextSpawnUnit += QuarterUnits * length;
}

void QuestionGenerator::newChordQuestion(UnitClock& clock, CNotesList& questions) {
    const int direction = directionWithCandidates(true);
    const int sign = direction == Down ? -1 : 1;

    std::array<Pair, PitchCount * ChordTypeCount> pairs{};
    int count = 0;
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        for (int c = 0; c < ChordTypeCount; ++c) {
            if (chordCandidate(p, c, sign)) {
                pairs[static_cast<std::size_t>(count++)] = {static_cast<std::uint8_t>(p),
                                                            static_cast<std::uint8_t>(c)};
            }
        }
    }
    if (count == 0) {
        clock.nextSpawnUnit += QuarterUnits;
        return;
    }
    const Pair pick = pairs[static_cast<std::size_t>(random(count))];
    const ChordRow& row = ChordTable[pick.value];
    const int p = pick.pitch;

    std::array<CNote, 24> notes{};
    int n = 0;
    CNote reference = table_[p];
    reference.isReference = 1;
    reference.durationCode = QuarterCode;
    notes[static_cast<std::size_t>(n++)] = reference;
    CNote other = reference;
    other.isReference = 0;
    if (direction != Down) {
        for (int j = 1; j <= row.span; ++j) {
            if (row.halfTones[static_cast<std::size_t>(j)] != 0) {
                notes[static_cast<std::size_t>(n++)] = noteAt(other, p + j);
            }
        }
    } else {
        for (int j = row.span - 1; j >= 0; --j) {
            if (row.halfTones[static_cast<std::size_t>(j)] != 0) {
                notes[static_cast<std::size_t>(n++)] = noteAt(other, p - row.span + j);
            }
        }
    }

    const bool arpeggio = direction != Together;
    int u = clock.unitCounter;
    int x = EntryX;
    for (int k = 0; k < n; ++k) {
        CNote& note = notes[static_cast<std::size_t>(k)];
        note.groupIndex = static_cast<std::uint8_t>(k);
        note.barStart = bar(u, clock.barLength) ? 1 : 0;
        questions.appendAt(note, x);
        if (arpeggio) {
            x += NoteSpacing;
            u += QuarterUnits;
            clock.nextSpawnUnit += QuarterUnits;
        }
    }
    if (!arpeggio) {
        clock.nextSpawnUnit += QuarterUnits;
    }
}

void QuestionGenerator::newPlayInterval(const UnitClock& clock, GroupShape& shape,
                                        CNotesList& group) {
    const int direction = drawDirection();
    std::array<Pair, PitchCount * 12> pairs{};
    int count = 0;
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        if (!table_.isSelected(p)) {
            continue;
        }
        for (int n = 1; n <= 12; ++n) {
            if (settings_.intervals[static_cast<std::size_t>(n)] == 0) {
                continue;
            }
            const int low = p + n > HighestPitch ? p - n : p;
            if (settings_.selectedNotesOnly != 0 &&
                !(table_.isSelected(low) && table_.isSelected(low + n))) {
                continue;
            }
            pairs[static_cast<std::size_t>(count++)] = {static_cast<std::uint8_t>(p),
                                                        static_cast<std::uint8_t>(n)};
        }
    }
    if (count == 0) {
        return;
    }
    const Pair pick = pairs[static_cast<std::size_t>(random(count))];
    const int n = pick.value;
    CNote low = table_[pick.pitch];
    low.isReference = 1;
    low.durationCode = QuarterCode;
    if (pick.pitch + n > HighestPitch) {
        // The drawn note stays the reference and becomes the upper note.
        low = noteAt(low, pick.pitch - n);
        low.isReference = 0;
    }
    CNote high = noteAt(low, low.pitch + n);
    high.isReference = low.isReference != 0 ? 0 : 1;

    CNote& first = direction == Down ? high : low;
    CNote& second = direction == Down ? low : high;
    first.groupIndex = 0;
    second.groupIndex = 1;
    first.barStart = clock.barRemaining == clock.barLength ? 1 : 0;
    second.barStart = 0;
    group.removeAll();
    group.appendAt(first, PlayGroupX);
    group.appendAt(second, direction == Together ? PlayGroupX : PlayGroupX + 18 * QuarterUnits);
    shape.chosenInterval = shape.shownInterval = n;
    shape.spread = direction == Together ? 0 : 18 * QuarterUnits;
}

void QuestionGenerator::newPlayChord(GroupShape& shape, CNotesList& group) {
    std::array<Pair, PitchCount * ChordTypeCount> pairs{};
    int count = 0;
    for (int p = LowestPitch; p <= HighestPitch; ++p) {
        for (int c = 0; c < ChordTypeCount; ++c) {
            if (chordCandidate(p, c, +1)) {
                pairs[static_cast<std::size_t>(count++)] = {static_cast<std::uint8_t>(p),
                                                            static_cast<std::uint8_t>(c)};
            }
        }
    }
    if (count == 0) {
        return;
    }
    const Pair pick = pairs[static_cast<std::size_t>(random(count))];
    const ChordRow& row = ChordTable[pick.value];
    shape.chosenChord = shape.shownChord = pick.value;

    std::array<CNote, 24> notes{};
    int n = 0;
    CNote reference = table_[pick.pitch];
    reference.isReference = 1;
    reference.durationCode = QuarterCode;
    reference.barStart = 0;
    notes[static_cast<std::size_t>(n++)] = reference;
    CNote other = reference;
    other.isReference = 0;
    for (int j = 1; j < 24; ++j) {
        if (row.halfTones[static_cast<std::size_t>(j)] != 0) {
            notes[static_cast<std::size_t>(n++)] = noteAt(other, pick.pitch + j);
        }
    }

    const int direction = drawDirection();
    const int step = direction == Together ? 0 : NoteSpacing;
    const int firstX = static_cast<int>(PlayChordCentreX - n * 0.5 * step);
    group.removeAll();
    for (int k = 0; k < n; ++k) {
        CNote& note = notes[static_cast<std::size_t>(direction == Down ? n - 1 - k : k)];
        note.groupIndex = static_cast<std::uint8_t>(k);
        group.appendAt(note, firstX + k * step);
    }
    shape.spread = (n - 1) * step;
}

} // namespace tessimo
