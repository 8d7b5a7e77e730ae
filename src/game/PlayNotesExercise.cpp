#include "game/PlayNotesExercise.h"

#include "game/GameState.h"
#include "game/Platform.h"
#include "model/Pitch.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

namespace tessimo {

void PlayNotesExercise::start(std::uint32_t /*now*/) {
    c_.state.highlightPitch = NoPitch;
}

void PlayNotesExercise::press(DevicePoint point) {
    const int p = host_.pitchAt(point, true);
    if (p != NoPitch) {
        if (c_.settings.soundMode == Voice) {
            // One of the name's three takes, so that the word does not always sound the same.
            if (c_.table[pitchClass(p)].hasTemplate != 0) {
                c_.sounds.playWord(pitchClass(p) +
                                   PitchesPerOctave * static_cast<int>(c_.random.next() % 3));
            }
        } else if (c_.settings.soundMode == Instrument) {
            if (c_.table[p].hasTemplate != 0) {
                c_.sounds.playWord(p);
            }
        } else {
            c_.sounds.playPitch(p);
        }
    }
    c_.state.highlightPitch = p;
    host_.repaint();
}

void PlayNotesExercise::move(DevicePoint point, bool leftDown) {
    if (leftDown && host_.pitchAt(point, true) != c_.state.highlightPitch) {
        press(point);
    }
}

} // namespace tessimo
