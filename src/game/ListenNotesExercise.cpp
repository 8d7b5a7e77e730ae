#include "game/ListenNotesExercise.h"

#include <cstdlib>

#include "game/PickDuration.h"
#include "game/QuestionGenerator.h"
#include "model/CNotesList.h"
#include "model/Durations.h"
#include "model/Pitch.h"
#include "model/SettingsRecord.h"

namespace tessimo {

namespace {
constexpr int PlayLineX = 1000;
constexpr int ListenFillX = EntryX - NoteSpacing; // 1880
} // namespace

bool ListenNotesExercise::isSounding(const CNote& note, std::uint32_t now) {
    // Differences of tick counts stay right across the wrap-around of the clock.
    const auto sinceStart =
        static_cast<std::int32_t>(now - static_cast<std::uint32_t>(note.startTime));
    const auto untilEnd = static_cast<std::int32_t>(static_cast<std::uint32_t>(note.endTime) - now);
    return sinceStart >= 0 && untilEnd > 0;
}

void ListenNotesExercise::start(std::uint32_t /*now*/) {
    scrollCorrection_ = 0;
    hasLastSpawned_ = false;
}

void ListenNotesExercise::tick(std::uint32_t now) {
    UnitClock& clock = clock_;
    CNotesList& questions = c_.questions;
    const int step = scrollCorrection_ + 6;
    if (step > 0) {
        questions.advance(step, LeftBound);
        scrollCorrection_ >>= 1; // toward minus infinity
    }

    QuestionGenerator generator(c_.settings, c_.table, c_.random);
    int x = hasLastSpawned_ && !questions.empty() ? questions.back().x : PlayLineX;
    while (x < ListenFillX) {
        clock.barRemaining = clock.barLength - clock.nextSpawnUnit;
        CNote note;
        if (!generator.randomSelected(note)) {
            break;
        }
        const int code = pickDuration(c_.settings, clock.barRemaining, c_.random);
        if (code < 0) {
            break; // cannot happen while the command's rule holds
        }
        const int length = DurationTable[static_cast<std::size_t>(code)];
        note.groupIndex = 0;
        note.isReference = 0;
        note.barStart = clock.nextSpawnUnit == 0 ? 1 : 0;
        note.durationCode = static_cast<std::uint8_t>(code);
        clock.nextSpawnUnit += length;
        if (clock.nextSpawnUnit >= clock.barLength) {
            clock.nextSpawnUnit = 0;
        }
        note.startTime = hasLastSpawned_ ? lastSpawnedEndTime_ : static_cast<std::int32_t>(now);
        note.endTime = static_cast<std::int32_t>(static_cast<std::uint32_t>(note.startTime) +
                                                 static_cast<std::uint32_t>(length * clock.unitMs));
        const CNote& stored = questions.appendAt(note, x + NoteSpacing);
        hasLastSpawned_ = true;
        lastSpawnedEndTime_ = stored.endTime;
        x = stored.x;
    }
}

void ListenNotesExercise::advanceTo(std::uint32_t now) {
    for (CNote& note : c_.questions) {
        if (!isSounding(note, now) || note.answered != 0) {
            continue;
        }
        if (c_.settings.soundMode == Voice) {
            c_.sounds.playWord(note.wordIndex +
                               PitchesPerOctave * static_cast<int>(c_.random.next() % 3));
        } else if (c_.settings.soundMode == Instrument) {
            c_.sounds.playWord(note.wordIndex);
        } else {
            c_.sounds.playPitch(note.pitch);
        }
        note.answered = 1;
        // Square law: pulls the sounding note toward the play line.
        const int g = (note.x - PlayLineX) / 32;
        scrollCorrection_ = g * std::abs(g);
    }
}

} // namespace tessimo
