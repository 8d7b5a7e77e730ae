#include "game/GroupRules.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "model/ChordTable.h"
#include "model/Pitch.h"

namespace tessimo {

namespace {
constexpr int MaxComparedNotes = 10;
} // namespace

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

bool compareGroups(const CNotesList& questions, const CNotesList& answer) {
    std::array<int, MaxComparedNotes> expected{};
    std::array<int, MaxComparedNotes> expectedX{};
    int count = 0;
    std::size_t i = 0;
    while (i < questions.size() && questions[i].answered != 0) {
        ++i;
    }
    for (std::size_t j = i; j < questions.size() && count < MaxComparedNotes; ++j) {
        const CNote& note = questions[j];
        if (j > i && note.groupIndex == 0) {
            break;
        }
        if (note.answered == 0) {
            expectedX[static_cast<std::size_t>(count)] = note.x;
            expected[static_cast<std::size_t>(count++)] = note.pitch;
        }
    }
    if (count == 0 || static_cast<int>(answer.size()) != count) {
        return false;
    }
    std::array<int, MaxComparedNotes> given{};
    for (int k = 0; k < count; ++k) {
        given[static_cast<std::size_t>(k)] = answer[static_cast<std::size_t>(k)].pitch;
    }
    if (count >= 2 && expectedX[0] == expectedX[1]) {
        // Block chords and harmonic intervals are compared as sets.
        std::sort(expected.begin(), expected.begin() + count);
        std::sort(given.begin(), given.begin() + count);
    }
    return std::equal(expected.begin(), expected.begin() + count, given.begin());
}

} // namespace tessimo
