// The exercise the view runs.
#pragma once

#include <cstdint>

namespace tessimo {

enum class GameMode : std::int32_t {
    Idle = 0,
    ListenNotes = 1,
    PlayNotes = 2,
    NotesDictation = 3,
    PlayIntervals = 4,
    IntervalDictation = 5,
    PlayChords = 6,
    ChordsDictation = 7,
    Record = 8,
    RecordReplay = 9,
    Recognize = 10,
};

// The exercises in which the user plays freely and hears what is played.
constexpr bool isPlayMode(GameMode mode) {
    return mode == GameMode::PlayNotes || mode == GameMode::PlayIntervals ||
           mode == GameMode::PlayChords;
}

} // namespace tessimo
