#include "display/StaffPainter.h"

#include "display/FrameState.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "geometry/StaffLayout.h"

#include <QPainter>

namespace tessimo {

namespace {

constexpr int BraceLeft = 20;
constexpr int PlayLineX = 1000;
constexpr int PlayLineOverhang = 100;
constexpr int PlayLinePenWidth = 6;
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

    if (context.state.mode != GameMode::ListenNotes) {
        return;
    }
    if (staff.trebleShown && staff.bassShown) {
        drawCellText(painter, context.cache.braceFont(), BraceLeft, BraceTop, QStringLiteral("{"),
                     InkBlack);
    }
    // The play line: a note sounds as it passes it.
    const int top = staffLineY(staff.trebleShown ? staff.trebleOffset : staff.bassOffset, 0);
    const int bottom =
        staffLineY(staff.bassShown ? staff.bassOffset : staff.trebleOffset, StaffLineCount - 1);
    painter.setPen(logicalPen(painter, HintBlue, PlayLinePenWidth));
    painter.drawLine(
        QLineF(PlayLineX, top - PlayLineOverhang, PlayLineX, bottom + PlayLineOverhang));
    painter.setPen(oldPen);
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
    const auto drawAcross = [&](int offset) {
        markDirty(context, QRectF(x, offset + StaffTopLine, 0, StaffBottomLine - StaffTopLine));
        painter.drawLine(QLineF(x, offset + StaffTopLine, x, offset + StaffBottomLine));
    };
    if (staff.trebleShown) {
        drawAcross(staff.trebleOffset);
    }
    if (staff.bassShown) {
        drawAcross(staff.bassOffset);
    }
    painter.setPen(oldPen);
}

} // namespace tessimo
