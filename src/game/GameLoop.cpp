// The timer loop: scrolling, the unit clock, question creation, group playback and the game
// limits.
#include <algorithm>
#include <cstdlib>

#include "game/CBrindelView.h"
#include "game/GroupRules.h"
#include "game/PickDuration.h"
#include "game/QuestionGenerator.h"
#include "model/Durations.h"
#include "model/Pitch.h"
#include "recognition/RecognizerEntryPoints.h"
#include "sound/MidiOutput.h"

namespace tessimo {

namespace {
constexpr int UnitX = 18;                // x per duration unit
constexpr int WaitX = 1600;              // with speed 0 the first question waits here
constexpr int CatchUpStep = 20;          // x per tick while catching up with speed 0
constexpr std::uint32_t ReplayMs = 2000; // a question is played again after this long
constexpr std::uint32_t PlaybackStepMs = 400;
constexpr int MaxPlayedNotes = 12;
} // namespace

void CBrindelView::onTimer(int timerNumber) {
    if (timerNumber != 1) {
        return;
    }
    // Words recognised since the last tick are judged before the notes move again.
    drainRecognizedWords();
    switch (state_.gameMode) {
    case GameMode::ListenNotes:
        listenNotes_.tick(now());
        repaint();
        break;
    case GameMode::NotesDictation:
    case GameMode::Recognize:
        tickNotesDictation();
        break;
    case GameMode::PlayIntervals:
    case GameMode::PlayChords:
        tickPlayGroup();
        break;
    case GameMode::IntervalDictation:
    case GameMode::ChordsDictation:
        tickGroupDictation();
        break;
    case GameMode::Record:
    case GameMode::RecordReplay:
        record_.tick(now());
        break;
    default:
        break;
    }
    advanceTo(now());
}

// The end of every tick: what is due at this time sounds, and the question to answer is fixed.
void CBrindelView::advanceTo(std::uint32_t t) {
    lastStepTime_ = t;
    if (state_.gameMode == GameMode::ListenNotes) {
        listenNotes_.advanceTo(t);
    } else {
        fixExpectedPitch();
    }
}

// Notes Dictation and Recognize judge against the first unanswered question note; -1 until
// one has entered the staff, and the last one's pitch once every note is answered.
void CBrindelView::fixExpectedPitch() {
    if (state_.gameMode != GameMode::NotesDictation && state_.gameMode != GameMode::Recognize) {
        return;
    }
    if (const CNote* first = questionNotes_.firstUnanswered()) {
        state_.expectedPitch = first->pitch;
    }
}

int CBrindelView::speedStep() const {
    if (settings_.speed != 0) {
        return 2 * settings_.speed + 2;
    }
    if (state_.gameMode == GameMode::NotesDictation || state_.gameMode == GameMode::Recognize) {
        const CNote* first = questionNotes_.firstUnanswered();
        if (first == nullptr) {
            return 2;
        }
        return first->x <= WaitX ? 0 : CatchUpStep;
    }
    if (answerGroup_.empty()) {
        return CatchUpStep;
    }
    for (const CNote& note : answerGroup_) {
        if (note.x > WaitX) {
            return CatchUpStep;
        }
    }
    return 0;
}

void CBrindelView::advanceList(CNotesList& list, int step, bool* droppedUnanswered) {
    bool droppedAny = false;
    const bool unanswered = list.advance(step, LeftBound, &droppedAny);
    if (droppedAny) {
        state_.playPending = false;
    }
    if (droppedUnanswered != nullptr) {
        *droppedUnanswered = unanswered;
    }
}

bool CBrindelView::limitsReached() const {
    return (settings_.errorLimitOn != 0 && state_.errorCount >= settings_.maxErrors) ||
           (settings_.unknownLimitOn != 0 && state_.unknownCount >= settings_.maxUnknown);
}

void CBrindelView::runUnitClock(int step) {
    state_.pixelAccumulator += step;
    if (state_.pixelAccumulator >= UnitX) {
        ++state_.unitCounter;
        state_.pixelAccumulator -= UnitX;
        state_.barRemaining =
            state_.barLength > 0 ? state_.barLength - state_.unitCounter % state_.barLength : 0;
    }
    if (state_.unitCounter != state_.nextSpawnUnit) {
        return;
    }
    QuestionGenerator generator(settings_, pitchTable_, services_.random, &pitchDraw_);
    switch (state_.gameMode) {
    case GameMode::IntervalDictation:
        generator.newIntervalQuestion(state_, questionNotes_);
        break;
    case GameMode::ChordsDictation:
        generator.newChordQuestion(state_, questionNotes_);
        break;
    default:
        generator.newNoteQuestion(state_, questionNotes_);
        break;
    }
}

void CBrindelView::tickNotesDictation() {
    const int step = speedStep();
    const PitchGroup leaving = firstQuestionGroup(questionNotes_, nullptr);
    bool dropped = false;
    advanceList(questionNotes_, step, &dropped);
    if (dropped) {
        reportMissed(leaving); // the first unanswered note is the one that left
        state_.wrongMark = -1;
    }
    repaint();
    if (limitsReached()) {
        killTimer(); // frozen: mode, notes and score stay until the next command
        state_.frozen = true;
        return;
    }
    runUnitClock(step);
    const std::uint32_t t = now();
    trackFirstQuestion(step, t);
    if (state_.gameMode != GameMode::NotesDictation) {
        return;
    }
    if (t - state_.lastQuestionTick >= ReplayMs) {
        state_.lastQuestionTick = t;
        holdAfterRightAnswer_ = false;
        if (const CNote* first = questionNotes_.firstUnanswered()) {
            markQuestionSounded(t);
            if (settings_.soundMode == Synthesizer) {
                midiPlayPitch(first->pitch);
            } else {
                playWord(first->wordIndex);
            }
        }
    }
}

void CBrindelView::tickPlayGroup() {
    if (answerGroup_.empty()) {
        QuestionGenerator generator(settings_, pitchTable_, services_.random);
        if (state_.gameMode == GameMode::PlayIntervals) {
            generator.newPlayInterval(state_, answerGroup_);
        } else {
            generator.newPlayChord(state_, answerGroup_);
        }
        repaint();
    }
    playbackStep();
}

void CBrindelView::tickGroupDictation() {
    const int step = speedStep();
    const PitchGroup leaving = firstQuestionGroup(questionNotes_, nullptr);
    bool dropped = false;
    advanceList(questionNotes_, step, &dropped);
    advanceList(answerGroup_, step, nullptr);
    advanceList(wrongGroup_, step, nullptr);
    if (dropped) {
        wrongGroup_.removeAll();
        reportMissed(leaving);
    }
    repaint();
    if (limitsReached()) {
        killTimer();
        state_.frozen = true;
        return;
    }
    if (!questionNotes_.empty() && answerGroup_.empty()) {
        setUpGroupQuestion();
    }
    runUnitClock(step);
    const std::uint32_t t = now();
    trackFirstQuestion(step, t);
    if (state_.playPending) {
        playbackStep();
    } else if (t - state_.lastQuestionTick >= ReplayMs) {
        armPlayback(questionNotes_, step);
        state_.lastQuestionTick = t;
        holdAfterRightAnswer_ = false;
    }
}

// A question is played as soon as it becomes the first unanswered one (it entered the staff,
// or the one before it left), and then every 2000 ms; after a right answer the next one waits
// the 500 ms the answer set. The first question is recognised by its note, moved by this
// tick's step: a note made at the freed place of a dropped one is a new question.
void CBrindelView::trackFirstQuestion(int step, std::uint32_t t) {
    const CNote* first = questionNotes_.firstUnanswered();
    const bool same =
        first != nullptr && first == firstQuestion_ && first->x == firstQuestionX_ - step;
    firstQuestion_ = first;
    firstQuestionX_ = first != nullptr ? first->x : 0;
    if (first == nullptr || same) {
        return;
    }
    questionShownAt_ = t;
    questionSounded_ = false;
    if (!holdAfterRightAnswer_) {
        state_.lastQuestionTick = t - ReplayMs;
    }
}

void CBrindelView::markQuestionSounded(std::uint32_t t) {
    if (!questionSounded_) {
        questionSounded_ = true;
        questionSoundedAt_ = t;
    }
}

void CBrindelView::setUpGroupQuestion() {
    wrongGroup_.removeAll();
    questionNotes_.copyFirstGroupTo(answerGroup_);
    if (answerGroup_.empty()) {
        return;
    }
    if (state_.gameMode == GameMode::ChordsDictation) {
        state_.chosenChord = state_.shownChord = tessimo::identifyChord(answerGroup_);
    } else if (answerGroup_.size() >= 2) {
        state_.chosenInterval = state_.shownInterval =
            answerGroup_[1].pitch - answerGroup_[0].pitch;
    }
    storeGroupSpread();

    // Start the user from a group of random shape (when the wheel may change it) at a random
    // height: the answer has to be put right, not merely confirmed. The draw depends on the
    // selection only, never on the window.
    QuestionGenerator generator(settings_, pitchTable_, services_.random);
    const GroupScramble scramble = generator.drawScramble();
    for (int i = 0; i < std::abs(scramble.wheelSteps); ++i) {
        wheelGroup(scramble.wheelSteps > 0 ? 1 : -1);
    }
    for (int height : scramble.heights) {
        moveGroupTo(height);
    }
}

void CBrindelView::storeGroupSpread() {
    if (answerGroup_.empty()) {
        return;
    }
    int lowest = answerGroup_.front().x;
    int highest = lowest;
    for (const CNote& note : answerGroup_) {
        lowest = std::min(lowest, note.x);
        highest = std::max(highest, note.x);
    }
    state_.groupSpread = highest - lowest;
}

// ---- Group playback ----

void CBrindelView::armPlayback(CNotesList& list, int offset) {
    state_.lastPlayedGroup = -1;
    if (const CNote* first = list.firstUnanswered()) {
        state_.playPending = true;
        state_.playThreshold = first->x - offset;
        playList_ = &list;
    }
}

void CBrindelView::playbackStep() {
    if (!state_.playPending || playList_ == nullptr) {
        return;
    }
    const std::uint32_t t = now();
    if (t - state_.lastStepTick < PlaybackStepMs) {
        return;
    }
    state_.lastStepTick = t;

    CNotesList& list = *playList_;
    std::size_t i = 0;
    while (i < list.size() && list[i].answered != 0) {
        ++i;
    }
    if (i == list.size()) {
        state_.playPending = false;
        return;
    }
    std::uint8_t pitches[MaxPlayedNotes];
    std::uint8_t lengths[MaxPlayedNotes];
    int count = 0;
    auto collect = [&](const CNote& note) {
        if (count < MaxPlayedNotes) {
            pitches[count] = note.pitch;
            lengths[count] = static_cast<std::uint8_t>(
                DurationTable[std::min<std::size_t>(note.durationCode, DurationCodeCount - 1)] *
                state_.unitMs);
            ++count;
        }
        state_.lastPlayedGroup = note.groupIndex;
    };
    if (list[i].groupIndex > state_.lastPlayedGroup && list[i].x <= state_.playThreshold) {
        collect(list[i]);
    }
    const bool dictation = isDictation();
    bool reachedEnd = true;
    for (std::size_t j = i + 1; j < list.size(); ++j) {
        const CNote& note = list[j];
        if (note.groupIndex <= state_.lastPlayedGroup) {
            if (dictation && note.groupIndex == 0) {
                state_.playPending = false; // the next group is not part of this playback
                reachedEnd = false;
                break;
            }
            continue;
        }
        if (note.x > state_.playThreshold) {
            state_.playThreshold = note.x; // sounds at a later step
            reachedEnd = false;
            break;
        }
        collect(note);
    }
    if (reachedEnd) {
        state_.playPending = false;
    }
    if (count > 0) {
        if (playList_ == &questionNotes_) {
            markQuestionSounded(t);
        }
        midiPlayPitches(pitches, lengths, count);
    }
}

// ---- Sounds ----

void CBrindelView::midiPlayPitches(const std::uint8_t* pitches, const std::uint8_t* lengths,
                                   int count) {
    services_.midi.MidiPlay(settings_.instrument, pitches, lengths, count, ExerciseVelocity,
                            settings_.sustain != 0);
}

void CBrindelView::midiPlayPitch(int pitch) {
    const auto key = static_cast<std::uint8_t>(pitch);
    const auto length = static_cast<std::uint8_t>(DurationTable[QuarterCode] * state_.unitMs);
    midiPlayPitches(&key, &length, 1);
}

void CBrindelView::playWord(int slot) {
    services_.recognizer.PlayWord(slot);
}

} // namespace tessimo
