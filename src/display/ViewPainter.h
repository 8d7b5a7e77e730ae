// The paint of the main view: the one call a view widget makes from its paintEvent.
// User-interface thread only.
#pragma once

#include "display/FramePainter.h"
#include "display/FrameState.h"

#include <QSize>

class QPainter;

namespace tessimo {

class CBrindelView;

class ViewPainter {
public:
    // Paints the view's current state onto target (a painter on the widget, untransformed,
    // origin at the client area's top-left) for a client area of clientSize device-independent
    // pixels. Only reads the view: the engine's ticks, not the paints, keep its time.
    void paint(QPainter& target, QSize clientSize, const CBrindelView& view);

    FramePainter& framePainter() { return frame_; }

    // What the window shows over a Recognize game, kept until changed: "?" over the question
    // note (a word heard but not judged), and "Quiet please" while the room is measured.
    void setSayAgain(bool shown) { sayAgain_ = shown; }
    void setQuietPlease(bool shown) { quietPlease_ = shown; }
    bool sayAgain() const { return sayAgain_; }
    bool quietPlease() const { return quietPlease_; }

private:
    FramePainter frame_;
    bool sayAgain_ = false;
    bool quietPlease_ = false;
    FrameState snapshot_; // kept so the note vectors keep their storage between paints
};

} // namespace tessimo
