// What every drawing routine of the main view receives first: the painter (already carrying the
// logical mapping), the fonts and pictures, and the view state being drawn. User-interface
// thread only.
#pragma once

#include <QRect>
#include <QRectF>

#include <vector>

class QPainter;

namespace tessimo {

class PaintCache;
struct FrameState;

// The device rectangles a frame painted over its static layer, so that the next frame restores
// only those from the cached layer instead of the whole picture.
class DirtyRects {
public:
    // Adds the logical rectangle as the painter maps it, widened by the thickest pen used
    // (4 logical units, scaled like the x axis) and a pixel of antialiasing.
    void add(const QPainter& painter, const QRectF& logicalRect);
    const std::vector<QRect>& rects() const { return rects_; }
    void clear() { rects_.clear(); }

private:
    std::vector<QRect> rects_;
};

struct PaintContext {
    QPainter& painter;
    PaintCache& cache;
    const FrameState& state;
    DirtyRects* dirty = nullptr; // set while drawing over the static layer
};

// Notes a logical rectangle as painted, when the context tracks what it paints.
void markDirty(PaintContext& context, const QRectF& logicalRect);

} // namespace tessimo
