// The keys of a MIDI keyboard played in the Play exercises: each sounds as played and shows on
// the staff and the keyboard, as a click would.
#include "game/CBrindelView.h"
#include "model/Pitch.h"
#include "sound/MidiOutput.h"

namespace tessimo {

namespace {
bool isMidiKey(int key) {
    return key >= 0 && key <= 127;
}
} // namespace

void CBrindelView::keyPressed(int key, int velocity) {
    if (!isPlayMode(state_.gameMode) || !isMidiKey(key) || velocity < 1 || velocity > 127) {
        return;
    }
    services_.midi.keyDown(settings_.instrument, static_cast<std::uint8_t>(key),
                           static_cast<std::uint8_t>(velocity));
    // Keys beyond the four octaves sound but have no place on the staff.
    if (isInRange(key) && state_.highlightPitch != key) {
        state_.highlightPitch = key;
        repaint();
    }
}

void CBrindelView::keyReleased(int key) {
    if (!isPlayMode(state_.gameMode) || !isMidiKey(key)) {
        return;
    }
    services_.midi.keyUp(static_cast<std::uint8_t>(key)); // note-off as played
}

} // namespace tessimo
