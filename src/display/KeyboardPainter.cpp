#include "display/KeyboardPainter.h"

#include "display/FrameState.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "model/Pitch.h"

#include <QPainter>

#include <array>

namespace tessimo {

namespace {

// Left edge of each key within its octave, by pitch class; black keys sit 24 units left of the
// boundary between their two white keys.
constexpr std::array<int, 12> KeyLeftInOctave = {0, 47, 71, 118, 142, 213, 260, 284, 331, 355, 402, 426};

bool isSelected(const FrameState& state, int pitch) {
    return pitch >= 0 && pitch < PitchEntryCount && state.table[pitch].selected;
}

QRgb blackKeyColour(const FrameState& state, int pitch) {
    return isSelected(state, pitch) ? SelectedBlackKey : UnselectedBlackKey;
}

// A filled rectangle with the current pen, in a solid colour.
void fillKey(QPainter& painter, const QRectF& rect, QRgb colour) {
    painter.setBrush(QColor(colour));
    painter.drawRect(rect);
}

} // namespace

QRectF keyRect(int pitch) {
    const int octave = octaveIndex(pitch);
    const int left = KeyboardLeft + OctaveWidth * octave + KeyLeftInOctave[pitchClass(pitch)];
    if (isBlackKey(pitch)) {
        return QRectF(left, KeyboardTop, BlackKeyWidth, BlackKeyBottom - KeyboardTop);
    }
    return QRectF(left, KeyboardTop, WhiteKeyWidth, WhiteKeyBottom - KeyboardTop);
}

void drawKeyboard(PaintContext& context) {
    QPainter& painter = context.painter;
    const FrameState& state = context.state;
    const QPen oldPen = painter.pen();
    const QBrush oldBrush = painter.brush();
    painter.setPen(logicalPen(painter, InkBlack, KeyboardPenWidth));
    for (int w = 0; w < WhiteKeyCount; ++w) {
        const int pitch = LowestPitch + PitchesPerOctave * (w / 7) + WhiteKeyPitchClasses[w % 7];
        fillKey(painter,
                QRectF(KeyboardLeft + WhiteKeyWidth * w, KeyboardTop, WhiteKeyWidth,
                       WhiteKeyBottom - KeyboardTop),
                isSelected(state, pitch) ? SelectedWhiteKey : UnselectedWhiteKey);
    }
    // The black key between white keys i - 1 and i; there is none after E and after B.
    for (int i = 1; i < WhiteKeyCount; ++i) {
        if (i % 7 == 0 || i % 7 == 3) {
            continue;
        }
        const int w = i - 1;
        const int pitch =
            LowestPitch + PitchesPerOctave * (w / 7) + WhiteKeyPitchClasses[w % 7] + 1;
        fillKey(painter,
                QRectF(KeyboardLeft + WhiteKeyWidth - BlackKeyWidth / 2 + WhiteKeyWidth * w,
                       KeyboardTop, BlackKeyWidth, BlackKeyBottom - KeyboardTop),
                blackKeyColour(state, pitch));
    }
    painter.setBrush(oldBrush);
    painter.setPen(oldPen);
}

void highlightKey(PaintContext& context, int pitch, QRgb colour) {
    if (!isInRange(pitch)) {
        return;
    }
    QPainter& painter = context.painter;
    const QPen oldPen = painter.pen();
    const QBrush oldBrush = painter.brush();
    painter.setPen(logicalPen(painter, InkBlack, KeyboardPenWidth));
    const QRectF rect = keyRect(pitch);
    fillKey(painter, rect, colour);
    if (!isBlackKey(pitch)) {
        const int c = pitchClass(pitch);
        if (c != 0 && c != 5) {
            fillKey(painter, keyRect(pitch - 1), blackKeyColour(context.state, pitch - 1));
        }
        if (c != 4 && c != 11) {
            fillKey(painter, keyRect(pitch + 1), blackKeyColour(context.state, pitch + 1));
        }
    }
    painter.setBrush(oldBrush);
    painter.setPen(oldPen);
}

} // namespace tessimo
