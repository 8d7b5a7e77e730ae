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
    // pixels. Starts with view.beginPaint(), through which the exercise engine prepares the
    // exercise on the first paint, records the expected pitch and, in Listen notes, sounds the
    // notes whose time has come; then draws with the state as it stands.
    void paint(QPainter& target, QSize clientSize, CBrindelView& view);

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
