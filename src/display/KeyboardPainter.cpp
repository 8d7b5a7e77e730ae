#include "display/KeyboardPainter.h"

#include "display/FrameState.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "geometry/KeyboardGeometry.h"
#include "model/Pitch.h"

#include <QPainter>

namespace tessimo {

namespace {

bool isSelected(const FrameState& state, int pitch) {
    return pitch >= 0 && pitch < PitchEntryCount && state.table[pitch].selected;
}

QRgb blackKeyColour(const FrameState& state, int pitch) {
    return isSelected(state, pitch) ? SelectedBlackKey : UnselectedBlackKey;
}

// Sets a painter up for drawing keys, and puts back its pen, brush and antialiasing on the way
// out. Keys are upright rectangles: without antialiasing their edges stay sharp and fill fast.
class KeyPainting {
public:
    explicit KeyPainting(QPainter& painter)
        : painter_(painter), oldPen_(painter.pen()), oldBrush_(painter.brush()),
          antialiased_(painter.testRenderHint(QPainter::Antialiasing)) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(logicalPen(painter, InkBlack, KeyboardPenWidth));
    }
    KeyPainting(const KeyPainting&) = delete;
    KeyPainting& operator=(const KeyPainting&) = delete;
    ~KeyPainting() {
        painter_.setBrush(oldBrush_);
        painter_.setPen(oldPen_);
        painter_.setRenderHint(QPainter::Antialiasing, antialiased_);
    }

private:
    QPainter& painter_;
    const QPen oldPen_;
    const QBrush oldBrush_;
    const bool antialiased_;
};

// A filled rectangle outlined with the current pen, in a solid colour.
void fillKey(QPainter& painter, const KeyRect& key, QRgb colour) {
    painter.setBrush(QColor(colour));
    painter.drawRect(QRectF(key.left, key.top, key.right - key.left, key.bottom - key.top));
}

} // namespace

void drawKeyboard(PaintContext& context) {
    QPainter& painter = context.painter;
    const FrameState& state = context.state;
    const KeyPainting keys(painter);
    for (int w = 0; w < WhiteKeyCount; ++w) {
        fillKey(painter, whiteKeyRect(w),
                isSelected(state, whiteKeyPitch(w)) ? SelectedWhiteKey : UnselectedWhiteKey);
    }
    // Black keys after the white ones, which they overlap.
    for (int w = 0; w < WhiteKeyCount; ++w) {
        if (hasBlackKeyAfter(w)) {
            fillKey(painter, blackKeyRect(w), blackKeyColour(state, whiteKeyPitch(w) + 1));
        }
    }
}

void highlightKey(PaintContext& context, int pitch, QRgb colour) {
    if (!isInRange(pitch)) {
        return;
    }
    QPainter& painter = context.painter;
    const KeyPainting keys(painter);
    const KeyRect key = keyRect(pitch);
    // A white key's black neighbours reach 25 units beyond its sides.
    markDirty(context,
              QRectF(key.left - 25, key.top, key.right - key.left + 50, key.bottom - key.top));
    fillKey(painter, key, colour);
    if (!isBlackKey(pitch)) {
        const int c = pitchClass(pitch);
        if (c != 0 && c != 5) { // no black key left of C and F
            fillKey(painter, keyRect(pitch - 1), blackKeyColour(context.state, pitch - 1));
        }
        if (c != 4 && c != 11) { // none right of E and B
            fillKey(painter, keyRect(pitch + 1), blackKeyColour(context.state, pitch + 1));
        }
    }
}

} // namespace tessimo
