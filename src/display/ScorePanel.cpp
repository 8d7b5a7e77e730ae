#include "display/ScorePanel.h"

#include "display/FrameState.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"

namespace tessimo {

namespace {

constexpr int ScoreTop = 60;
constexpr int UnknownLeft = 200;
constexpr int ErrorsLeft = 900;
constexpr int OkLeft = 1600;
constexpr int CountdownLeft = 200;
constexpr int CountdownTop = 100;

} // namespace

void drawScorePanel(PaintContext& context) {
    const FrameState& state = context.state;
    if (!state.errorLimitOn && !state.unknownLimitOn) {
        return;
    }
    const CellFont& font = context.cache.scoreFont();
    if (state.unknownLimitOn && state.maxUnknown > 0) {
        markDirty(context,
                  drawCellText(
                      context.painter, font, UnknownLeft, ScoreTop,
                      QStringLiteral("Unkwn %1/%2").arg(state.unknownCount).arg(state.maxUnknown),
                      HintBlue));
    }
    if (state.errorLimitOn && state.maxErrors > 0) {
        markDirty(
            context,
            drawCellText(context.painter, font, ErrorsLeft, ScoreTop,
                         QStringLiteral("Errors %1/%2").arg(state.errorCount).arg(state.maxErrors),
                         WrongRed));
    }
    markDirty(context, drawCellText(context.painter, font, OkLeft, ScoreTop,
                                    QStringLiteral("OK %1").arg(state.okCount), NoteGreen));
}

void drawCountdown(PaintContext& context) {
    const FrameState& state = context.state;
    if (state.mode != GameMode::Record || state.recordPosition >= 0) {
        return;
    }
    markDirty(context,
              drawCellText(context.painter, context.cache.countdownFont(), CountdownLeft,
                           CountdownTop, QString::number(-state.recordPosition), WrongRed));
}

} // namespace tessimo
