#include "display/ModePainter.h"

#include "display/FrameState.h"
#include "display/KeyboardPainter.h"
#include "display/NotePainter.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "display/StaffPainter.h"
#include "geometry/StaffLayout.h"
#include "model/NoteNames.h"
#include "model/Pitch.h"

#include <cstdlib>

namespace tessimo {

namespace {

constexpr int PlayNoteX = 1000;
// In Play intervals and chords the last key played on a MIDI keyboard stands to the right of
// the placed group, clear of it and of its name.
constexpr int PlayedKeyX = 1500;
constexpr int NoLabelPitch = -1;
constexpr int WordSpacing = 65;
constexpr int VoiceWordsLeft = 200;
constexpr int InstrumentWordsLeft = 100;
constexpr int VoiceSoundMode = 0;
constexpr int VoiceWordEntries = 36;

// The bar line before a note that starts a bar, clear of the notes in its column (a chord's
// sharps included) and of the note before them.
void drawBarIfStart(PaintContext& context, const ListNote& note) {
    if (!note.barStart) {
        return;
    }
    const std::vector<ListNote>& list = context.state.questionNotes;
    const ListNote* previous = nullptr;
    bool sharp = false;
    for (const ListNote& other : list) {
        if (other.x == note.x) {
            sharp = sharp || (isInRange(other.glyph.pitch) && isBlackKey(other.glyph.pitch));
        } else if (other.x < note.x && (previous == nullptr || other.x > previous->x)) {
            previous = &other;
        }
    }
    int sharpWidth = 0;
    if (sharp) {
        const bool german = context.state.namingConvention == German;
        sharpWidth = static_cast<int>(
            context.cache.sharpFont().width(german ? QStringLiteral("is") : QStringLiteral("#")));
    }
    drawBarLine(context, barLineX(previous, note, sharpWidth));
}

// A pitch given by the view (hover, wrong answer, highlight) that names a table entry to draw.
const PitchEntry* entryOf(const FrameState& state, int pitch) {
    return isInRange(pitch) ? &state.table[pitch] : nullptr;
}

// Listen notes: each note turns green with its name and key while it sounds.
void drawListenNotes(PaintContext& context) {
    const FrameState& state = context.state;
    for (const ListNote& note : state.questionNotes) {
        drawBarIfStart(context, note);
        if (note.sounding) {
            drawNote(context, note.glyph, note.x, NoteGreen);
            drawNameLabel(context, note.glyph.pitch, note.x, NoteGreen, &note.glyph);
            highlightKey(context, note.glyph.pitch, NoteGreen);
        } else {
            drawNote(context, note.glyph, note.x, InkBlack);
        }
    }
}

void drawPlayNotes(PaintContext& context, int x = PlayNoteX) {
    const PitchEntry* entry = entryOf(context.state, context.state.highlightPitch);
    if (entry == nullptr) {
        return;
    }
    NoteGlyph glyph = entry->glyph;
    glyph.pitch = context.state.highlightPitch;
    glyph.durationCode = 5;
    highlightKey(context, glyph.pitch, NoteGreen);
    drawNote(context, glyph, x, NoteGreen);
    drawNameLabel(context, glyph.pitch, x, NoteGreen, &glyph);
}

// The user's placement (or wrong answer) for a question note, at the question's x.
void drawPlacement(PaintContext& context, int pitch, int x, QRgb colour) {
    const PitchEntry* entry = entryOf(context.state, pitch);
    if (entry == nullptr) {
        return;
    }
    drawNote(context, entry->glyph, x, colour);
    highlightKey(context, pitch, colour);
    if (context.state.soundMode != VoiceSoundMode) {
        drawNameLabel(context, pitch, x, colour, &entry->glyph);
    }
}

// Notes dictation: answered notes in green; the question being answered shows the user's
// placement; later questions show only a "?".
int drawNotesDictation(PaintContext& context) {
    const FrameState& state = context.state;
    int expected = -1;
    for (const ListNote& note : state.questionNotes) {
        drawBarIfStart(context, note);
        if (note.answered) {
            drawNote(context, note.glyph, note.x, NoteGreen);
        } else if (expected < 0) {
            expected = note.glyph.pitch;
            if (state.hoverPitch == -1) {
                drawNameLabel(context, NoLabelPitch, note.x, HintBlue);
            } else if (state.wrongMark != -1) {
                drawPlacement(context, state.wrongMark, note.x, WrongRed);
            } else {
                drawPlacement(context, state.hoverPitch, note.x, HintBlue);
            }
        } else {
            drawNameLabel(context, NoLabelPitch, note.x, InkBlack);
        }
    }
    return expected;
}

// Interval and chord dictation: the group being answered is shown as the user shapes it (or as
// the last wrong answer); later groups show a "?" under each note.
void drawGroupDictation(PaintContext& context) {
    const FrameState& state = context.state;
    enum class Phase { BeforeQuestion, InQuestion, AfterQuestion };
    Phase phase = Phase::BeforeQuestion;
    for (const ListNote& note : state.questionNotes) {
        drawBarIfStart(context, note);
        if (note.answered) {
            drawNote(context, note.glyph, note.x, NoteGreen);
            continue;
        }
        if (phase == Phase::BeforeQuestion) {
            if (!state.wrongGroup.empty()) {
                drawGroup(context, state.wrongGroup, WrongRed);
            } else {
                drawGroup(context, state.answerGroup, HintBlue);
            }
            phase = Phase::InQuestion;
            continue;
        }
        if (phase == Phase::InQuestion && note.groupIndex != 0) {
            continue;
        }
        phase = Phase::AfterQuestion;
        drawNameLabel(context, NoLabelPitch, note.x, InkBlack);
    }
}

// Record and replay: the vocabulary in a row, the current word in colour.
void drawWords(PaintContext& context) {
    const FrameState& state = context.state;
    const bool voice = state.soundMode == VoiceSoundMode;
    const bool recording = state.mode == GameMode::Record;
    const QRgb colour = recording ? WrongRed : NoteGreen;
    const int first = voice ? 0 : LowestPitch;
    const int last = voice ? VoiceWordEntries - 1 : HighestPitch;
    const int current = state.currentWord >= first && state.currentWord <= last &&
                                state.table[state.currentWord].wordActive
                            ? state.currentWord
                            : -1;

    const int base = voice ? VoiceWordsLeft : InstrumentWordsLeft;
    int walked = 0;
    int drawn = 0;
    for (int i = first; i <= last && walked < state.wordCount; ++i) {
        const PitchEntry& entry = state.table[i];
        if (!entry.wordActive) {
            continue;
        }
        ++walked;
        if (i == current) {
            const int x = base + WordSpacing * ++drawn;
            drawNote(context, entry.glyph, x, colour);
            highlightKey(context, entry.glyph.pitch, colour);
            drawNameLabel(context, entry.glyph.pitch, x, colour, &entry.glyph);
            continue;
        }
        const bool sharp = isInRange(entry.glyph.pitch) && isBlackKey(entry.glyph.pitch);
        const bool sharesLine =
            !voice && current >= 0 && entry.glyph.staffY == state.table[current].glyph.staffY;
        if (sharp || sharesLine) {
            continue;
        }
        const int x = base + WordSpacing * ++drawn;
        drawNote(context, entry.glyph, x, InkBlack);
        drawNameLabel(context, entry.glyph.pitch, x, InkBlack, &entry.glyph);
    }
}

// Recognize: answered notes green, the question being named blue with the last wrong answer
// in red beside it (and "?" over it when the last word heard was not judged), later notes
// black.
int drawRecognize(PaintContext& context) {
    const FrameState& state = context.state;
    int expected = -1;
    for (const ListNote& note : state.questionNotes) {
        QRgb colour = InkBlack;
        if (note.answered) {
            colour = NoteGreen;
        } else if (expected < 0) {
            colour = HintBlue;
            expected = note.glyph.pitch;
            if (const PitchEntry* wrong =
                    state.wrongMark != -1 ? entryOf(state, state.wrongMark) : nullptr) {
                // A step or less from the question, the wrong note stands beside it.
                const bool close =
                    std::abs(wrong->glyph.staffY - note.glyph.staffY) <= StepHeight &&
                    state.wrongMark != note.glyph.pitch;
                const int x = close ? note.x + 2 * HeadHalfWidth : note.x;
                drawNote(context, wrong->glyph, x, WrongRed);
                drawNameLabel(context, state.wrongMark, x, WrongRed, &wrong->glyph);
            }
        }
        drawBarIfStart(context, note);
        drawNote(context, note.glyph, note.x, colour);
        if (colour == HintBlue && state.sayAgain) {
            drawNameLabel(context, -1, note.x, HintBlue, &note.glyph); // "?": say it again
        }
    }
    return expected;
}

} // namespace

int drawNotesForMode(PaintContext& context) {
    switch (context.state.mode) {
    case GameMode::ListenNotes:
        drawListenNotes(context);
        return -1;
    case GameMode::PlayNotes:
        drawPlayNotes(context);
        return -1;
    case GameMode::NotesDictation:
        return drawNotesDictation(context);
    case GameMode::PlayIntervals:
    case GameMode::PlayChords:
        drawGroup(context, context.state.answerGroup, NoteGreen);
        drawPlayNotes(context, PlayedKeyX); // the last key played on a MIDI keyboard
        return -1;
    case GameMode::IntervalDictation:
    case GameMode::ChordsDictation:
        drawGroupDictation(context);
        return -1;
    case GameMode::Record:
    case GameMode::RecordReplay:
        drawWords(context);
        return -1;
    case GameMode::Recognize:
        return drawRecognize(context);
    case GameMode::Idle:
        break;
    }
    return -1;
}

} // namespace tessimo
