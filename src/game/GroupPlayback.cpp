#include "game/GroupPlayback.h"

#include "game/ExerciseMode.h"
#include "game/NoteLength.h"
#include "model/CNotesList.h"

namespace tessimo {

namespace {
constexpr std::uint32_t StepMs = 400;
constexpr int MaxPlayedNotes = 12;
} // namespace

void GroupPlayback::arm(CNotesList& list, int offset) {
    lastPlayedGroup_ = -1;
    if (const CNote* first = list.firstUnanswered()) {
        pending_ = true;
        threshold_ = first->x - offset;
        list_ = &list;
    }
}

const CNotesList* GroupPlayback::step(std::uint32_t now, bool stopAtNextGroup, std::uint8_t unitMs,
                                      ExerciseSounds& sounds) {
    if (!pending_ || list_ == nullptr) {
        return nullptr;
    }
    if (now - lastStepTick_ < StepMs) {
        return nullptr;
    }
    lastStepTick_ = now;

    CNotesList& list = *list_;
    std::size_t i = 0;
    while (i < list.size() && list[i].answered != 0) {
        ++i;
    }
    if (i == list.size()) {
        pending_ = false;
        return nullptr;
    }
    std::uint8_t pitches[MaxPlayedNotes];
    std::uint8_t lengths[MaxPlayedNotes];
    int count = 0;
    auto collect = [&](const CNote& note) {
        if (count < MaxPlayedNotes) {
            pitches[count] = note.pitch;
            lengths[count] = noteLengthMs(note.durationCode, unitMs);
            ++count;
        }
        lastPlayedGroup_ = note.groupIndex;
    };
    if (list[i].groupIndex > lastPlayedGroup_ && list[i].x <= threshold_) {
        collect(list[i]);
    }
    bool reachedEnd = true;
    for (std::size_t j = i + 1; j < list.size(); ++j) {
        const CNote& note = list[j];
        if (note.groupIndex <= lastPlayedGroup_) {
            if (stopAtNextGroup && note.groupIndex == 0) {
                pending_ = false; // the next group is not part of this playback
                reachedEnd = false;
                break;
            }
            continue;
        }
        if (note.x > threshold_) {
            threshold_ = note.x; // sounds at a later step
            reachedEnd = false;
            break;
        }
        collect(note);
    }
    if (reachedEnd) {
        pending_ = false;
    }
    if (count == 0) {
        return nullptr;
    }
    sounds.playPitches(pitches, lengths, count);
    return list_;
}

} // namespace tessimo
