#include "game/GroupRules.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "model/ChordTable.h"
#include "model/Pitch.h"

namespace tessimo {

bool intervalFits(const SettingsRecord& settings, const PitchTable& table, int base, int n) {
    if (n < -12 || n > 12 || settings.intervals[static_cast<std::size_t>(std::abs(n))] == 0) {
        return false;
    }
    if (n > 0 && settings.intervalsUp == 0 && settings.intervalsTogether == 0) {
        return false;
    }
    if (n < 0 && settings.intervalsDown == 0 && settings.intervalsTogether == 0) {
        return false;
    }
    if (!isInRange(base) || !isInRange(base + n) || !table.isSelected(base)) {
        return false;
    }
    return settings.selectedNotesOnly == 0 || table.isSelected(base + n);
}

bool chordFits(const SettingsRecord& settings, const PitchTable& table, int base, int row) {
    if (row < 0 || row >= ChordTypeCount || settings.chords[static_cast<std::size_t>(row)] == 0) {
        return false;
    }
    const ChordRow& chord = ChordTable[static_cast<std::size_t>(row)];
    if (!isInRange(base) || base + chord.span > HighestPitch) {
        return false;
    }
    if (settings.selectedNotesOnly == 0) {
        return table.isSelected(base);
    }
    for (int j = 0; j <= chord.span; ++j) {
        if (chord.halfTones[static_cast<std::size_t>(j)] != 0 && !table.isSelected(base + j)) {
            return false;
        }
    }
    return true;
}

int identifyChord(const CNotesList& group) {
    if (group.empty()) {
        return 0;
    }
    int low = HighestPitch;
    for (const CNote& note : group) {
        low = std::min<int>(low, note.pitch);
    }
    for (int row = 0; row < ChordTypeCount; ++row) {
        const ChordRow& chord = ChordTable[static_cast<std::size_t>(row)];
        if (chord.noteCount != static_cast<int>(group.size())) {
            continue;
        }
        bool members = true;
        for (const CNote& note : group) {
            const int offset = note.pitch - low;
            members =
                members && offset < 24 && chord.halfTones[static_cast<std::size_t>(offset)] != 0;
        }
        if (members) {
            return row;
        }
    }
    return 0;
}

PitchGroup firstQuestionGroup(const CNotesList& questions, bool* block) {
    PitchGroup expected;
    std::array<int, PitchGroup::Capacity> x{};
    std::size_t i = 0;
    while (i < questions.size() && questions[i].answered != 0) {
        ++i;
    }
    for (std::size_t j = i; j < questions.size() && expected.count < PitchGroup::Capacity; ++j) {
        const CNote& note = questions[j];
        if (j > i && note.groupIndex == 0) {
            break;
        }
        if (note.answered == 0) {
            x[expected.count] = note.x;
            expected.add(note.pitch);
        }
    }
    if (block != nullptr) {
        *block = expected.count >= 2 && x[0] == x[1];
    }
    return expected;
}

PitchGroup pitchesOf(const CNotesList& group) {
    PitchGroup pitches;
    for (const CNote& note : group) {
        if (!pitches.add(note.pitch)) {
            break;
        }
    }
    return pitches;
}

bool groupMatches(PitchGroup expected, bool block, PitchGroup given) {
    if (expected.empty() || expected.count != given.count) {
        return false;
    }
    const auto e = expected.pitches.begin();
    const auto g = given.pitches.begin();
    if (block) {
        // Block chords and harmonic intervals are compared as sets.
        std::sort(e, e + expected.count);
        std::sort(g, g + given.count);
    }
    return std::equal(e, e + expected.count, g);
}

bool compareGroups(const CNotesList& questions, const CNotesList& answer) {
    bool block = false;
    const PitchGroup expected = firstQuestionGroup(questions, &block);
    return groupMatches(expected, block, pitchesOf(answer));
}

} // namespace tessimo
