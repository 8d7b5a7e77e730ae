#include "display/PaintContext.h"

#include <QPainter>

#include <cmath>

namespace tessimo {

void DirtyRects::add(const QPainter& painter, const QRectF& logicalRect) {
    const QRectF device = painter.deviceTransform().mapRect(logicalRect.normalized());
    const double pad = 4.0 * std::abs(painter.deviceTransform().m11()) + 2.0;
    rects_.push_back(device.adjusted(-pad, -pad, pad, pad).toAlignedRect());
}

void markDirty(PaintContext& context, const QRectF& logicalRect) {
    if (context.dirty != nullptr) {
        context.dirty->add(context.painter, logicalRect);
    }
}

} // namespace tessimo
