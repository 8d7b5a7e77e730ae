#include "display/StaffPainter.h"

#include "display/FrameState.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "display/StaffLayout.h"

#include <QPainter>

namespace tessimo {

namespace {

constexpr int BraceLeft = 20;
constexpr int BraceTop = 342;
constexpr int ClefLeft = 50;
constexpr int ClefWidth = 72;
constexpr double TrebleClefTop = 678.4;
constexpr int TrebleClefHeight = 804;
constexpr int BassClefHeight = 402;
constexpr int StaffBottomLine = StaffTopLine + LineGap * (StaffLineCount - 1); // 1268

} // namespace

void drawStaves(PaintContext& context) {
    QPainter& painter = context.painter;
    const StaffView& staff = context.state.staff;
    const QPen oldPen = painter.pen();
    painter.setPen(logicalPen(painter, InkBlack, StaffPenWidth));
    const auto drawLines = [&painter](int offset) {
        for (int k = 0; k < StaffLineCount; ++k) {
            const int y = staffLineY(offset, k);
            painter.drawLine(QLineF(StaffLineLeft, y, StaffLineRight, y));
        }
    };
    if (staff.trebleShown) {
        drawLines(staff.trebleOffset);
    }
    if (staff.bassShown) {
        drawLines(staff.bassOffset);
    }
    painter.setPen(oldPen);

    if (staff.trebleShown && staff.bassShown && context.state.mode == GameMode::ListenNotes) {
        drawCellText(painter, context.cache.braceFont(), BraceLeft, BraceTop, QStringLiteral("{"),
                     InkBlack);
    }
}

void drawClefs(PaintContext& context) {
    const StaffView& staff = context.state.staff;
    if (staff.trebleShown) {
        const int top = static_cast<int>(staff.trebleOffset + TrebleClefTop);
        context.cache.drawPicture(context.painter, Picture::TrebleClef,
                                  QRectF(ClefLeft, top, ClefWidth, TrebleClefHeight));
    }
    if (staff.bassShown) {
        context.cache.drawPicture(
            context.painter, Picture::BassClef,
            QRectF(ClefLeft, staff.bassOffset + StaffTopLine, ClefWidth, BassClefHeight));
    }
}

void drawBarLine(PaintContext& context, int x) {
    if (x >= StaffLineRight) {
        return;
    }
    QPainter& painter = context.painter;
    const StaffView& staff = context.state.staff;
    const QPen oldPen = painter.pen();
    painter.setPen(logicalPen(painter, InkBlack, BarPenWidth));
    if (staff.trebleShown) {
        markDirty(context,
                  QRectF(x, staff.trebleOffset + StaffTopLine, 0, StaffBottomLine - StaffTopLine));
        painter.drawLine(
            QLineF(x, staff.trebleOffset + StaffTopLine, x, staff.trebleOffset + StaffBottomLine));
    }
    if (staff.bassShown) {
        markDirty(context,
                  QRectF(x, staff.bassOffset + StaffTopLine, 0, StaffBottomLine - StaffTopLine));
        painter.drawLine(
            QLineF(x, staff.bassOffset + StaffTopLine, x, staff.bassOffset + StaffBottomLine));
    }
    painter.setPen(oldPen);
}

} // namespace tessimo
