// What every drawing routine of the main view receives first: the painter (already carrying the
// logical mapping), the fonts and pictures, and the view state being drawn.
// User-interface thread only.
#pragma once

class QPainter;

namespace tessimo {

class PaintCache;
struct FrameState;

struct PaintContext {
    QPainter& painter;
    PaintCache& cache;
    const FrameState& state;
};

} // namespace tessimo
