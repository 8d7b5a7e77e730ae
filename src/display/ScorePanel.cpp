#include "display/ScorePanel.h"

#include "display/FrameState.h"
#include "display/NoteLayout.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "geometry/LogicalSpace.h"

#include <QCoreApplication>
#include <QPainter>

namespace tessimo {

namespace {

constexpr int UnknownLeft = 200;
constexpr int PlateMargin = 20;
constexpr int ErrorsLeft = 900;
constexpr int OkLeft = 1600;
constexpr int CountdownLeft = 200;
constexpr int CountdownTop = 100;
constexpr int QuietPleaseTop = 300; // below the score, above where notes enter

} // namespace

void drawScorePanel(PaintContext& context) {
    const FrameState& state = context.state;
    if (!state.errorLimitOn && !state.unknownLimitOn) {
        return;
    }
    const CellFont& font = context.cache.scoreFont();
    const int top = scoreTop(state.staff);
    // On the keys a white plate keeps the text readable over a key highlighted in its colour.
    const bool onKeys = top >= StaffAreaBottom;
    const auto scoreText = [&](int left, const QString& text, QRgb colour) {
        if (onKeys) {
            const QRectF plate(left - PlateMargin, top, font.width(text) + 2 * PlateMargin,
                               font.cellHeight());
            QPainter& painter = context.painter;
            const QPen oldPen = painter.pen();
            const QBrush oldBrush = painter.brush();
            painter.setPen(logicalPen(painter, UnselectedBlackKey, BarPenWidth));
            painter.setBrush(QColor(HeadWhite));
            painter.drawRect(plate);
            painter.setPen(oldPen);
            painter.setBrush(oldBrush);
            markDirty(context,
                      plate.adjusted(-BarPenWidth, -BarPenWidth, BarPenWidth, BarPenWidth));
        }
        markDirty(context, drawCellText(context.painter, font, left, top, text, colour));
    };
    if (state.unknownLimitOn && state.maxUnknown > 0) {
        scoreText(UnknownLeft,
                  QCoreApplication::translate("tessimo::ScorePanel", "Unkwn %1/%2")
                      .arg(state.unknownCount)
                      .arg(state.maxUnknown),
                  HintBlue);
    }
    if (state.errorLimitOn && state.maxErrors > 0) {
        scoreText(ErrorsLeft,
                  QCoreApplication::translate("tessimo::ScorePanel", "Errors %1/%2")
                      .arg(state.errorCount)
                      .arg(state.maxErrors),
                  WrongRed);
    }
    scoreText(OkLeft,
              QCoreApplication::translate("tessimo::ScorePanel", "OK %1").arg(state.okCount),
              NoteGreen);
}

void drawCountdown(PaintContext& context) {
    const FrameState& state = context.state;
    if (state.mode == GameMode::Recognize && state.quietPlease) {
        markDirty(context,
                  drawCellText(context.painter, context.cache.scoreFont(), CountdownLeft,
                               QuietPleaseTop,
                               QCoreApplication::translate("tessimo::ScorePanel", "Quiet please"),
                               WrongRed));
        return;
    }
    if (state.mode != GameMode::Record || state.recordPosition >= 0) {
        return;
    }
    markDirty(context,
              drawCellText(context.painter, context.cache.countdownFont(), CountdownLeft,
                           CountdownTop, QString::number(-state.recordPosition), WrongRed));
}

} // namespace tessimo
