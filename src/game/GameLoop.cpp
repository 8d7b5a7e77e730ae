// The timer loop: every tick goes to the exercise that runs, which moves its notes; at the end
// of the tick what is due sounds and the question to answer is fixed. Also the sounds the
// exercises make through the view.
#include "game/CBrindelView.h"
#include "game/NoteLength.h"
#include "model/Pitch.h"
#include "recognition/RecognizerEntryPoints.h"
#include "sound/MidiOutput.h"

namespace tessimo {

ExerciseMode* CBrindelView::running() {
    switch (state_.gameMode) {
    case GameMode::ListenNotes:
        return &listenNotes_;
    case GameMode::PlayNotes:
        return &playNotes_;
    case GameMode::NotesDictation:
        return &notesDictation_;
    case GameMode::PlayIntervals:
        return &playIntervals_;
    case GameMode::IntervalDictation:
        return &intervalDictation_;
    case GameMode::PlayChords:
        return &playChords_;
    case GameMode::ChordsDictation:
        return &chordsDictation_;
    case GameMode::Record:
    case GameMode::RecordReplay:
        return &record_;
    case GameMode::Recognize:
        return &recognize_;
    case GameMode::Idle:
        break;
    }
    return nullptr;
}

void CBrindelView::onTimer(int timerNumber) {
    if (timerNumber != 1) {
        return;
    }
    // Words recognised since the last tick are judged before the notes move again.
    drainRecognizedWords();
    if (ExerciseMode* exercise = running()) {
        exercise->tick(now());
        if (state_.gameMode == GameMode::ListenNotes) {
            repaint();
        }
    }
    advanceTo(now());
}

// The end of every tick: what is due at this time sounds, and the question to answer is fixed.
void CBrindelView::advanceTo(std::uint32_t t) {
    lastStepTime_ = t;
    if (ExerciseMode* exercise = running()) {
        exercise->advanceTo(t);
    }
}

bool CBrindelView::limitsReached() const {
    return (settings_.errorLimitOn != 0 && state_.errorCount >= settings_.maxErrors) ||
           (settings_.unknownLimitOn != 0 && state_.unknownCount >= settings_.maxUnknown);
}

// Frozen: mode, notes and score stay until the next command.
bool CBrindelView::freezeAtLimit() {
    if (!limitsReached()) {
        return false;
    }
    killTimer();
    state_.frozen = true;
    return true;
}

// ---- Sounds ----

void CBrindelView::playPitches(const std::uint8_t* pitches, const std::uint8_t* lengths,
                               int count) {
    services_.midi.MidiPlay(settings_.instrument, pitches, lengths, count, ExerciseVelocity,
                            settings_.sustain != 0);
}

void CBrindelView::playPitch(int pitch) {
    const auto key = static_cast<std::uint8_t>(pitch);
    const std::uint8_t length = noteLengthMs(QuarterCode, unitClock_.unitMs);
    playPitches(&key, &length, 1);
}

void CBrindelView::playWord(int slot) {
    services_.recognizer.PlayWord(slot);
}

void CBrindelView::soundPitch(int pitch) {
    if (settings_.soundMode == Voice) {
        playWord(pitchClass(pitch));
    } else if (settings_.soundMode == Instrument) {
        playWord(pitch);
    } else {
        playPitch(pitch);
    }
}

} // namespace tessimo
