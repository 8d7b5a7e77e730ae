#include "display/NotePainter.h"

#include "display/KeyboardPainter.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "geometry/LogicalSpace.h"
#include "geometry/StaffLayout.h"
#include "model/NoteNames.h"
#include "model/Pitch.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace tessimo {

namespace {

constexpr int SharpGap = 5; // head width 42 div 8
constexpr int DotGap = 10;  // head width 42 div 4
constexpr int DotTop = 26;  // 20% of the head height below the centre
constexpr int DotBottom = 52;
constexpr int DotWidth = 7;
constexpr int FlagWidth = 27;
constexpr int FlagBendX = 13;
constexpr int FlagBendY = 16;
constexpr int FlagDepth = 65;
constexpr int NoGroupX = 10000;

int clampedConvention(int convention) {
    return std::clamp(convention, 0, NamingConventionCount - 1);
}

} // namespace

int flagCount(int durationCode) {
    return durationCode >= 6 ? (durationCode - 6) / 2 + 1 : 0;
}

void drawNote(PaintContext& context, const NoteGlyph& note, int x, QRgb colour, Stem stem) {
    QPainter& painter = context.painter;
    const int y = note.staffY;
    const int left = x - HeadHalfWidth;
    const int right = x + HeadHalfWidth;
    const int top = y - HeadHalfHeight;
    const int bottom = y + HeadHalfHeight;
    const QPen oldPen = painter.pen();
    const QBrush oldBrush = painter.brush();
    // What is drawn over the static layer, in three boxes so that the thin stem does not
    // claim a wide band: head with ledger line and dot, stem, flags.
    const StaffView& staff = context.state.staff;
    const bool hasStem = note.durationCode > 1 && stem != Stem::None;
    const bool up = stem == Stem::Up || (stem == Stem::Auto && stemUp(staff, note.pitch, y));
    const LedgerLines ledgers = ledgerLines(staff, note.pitch, y);
    markDirty(context, QRectF(left - LedgerOverhang, top,
                              right + DotGap + DotWidth - (left - LedgerOverhang), bottom - top));
    if (ledgers.count > 0) {
        const auto [low, high] =
            std::minmax_element(ledgers.y.begin(), ledgers.y.begin() + ledgers.count);
        markDirty(context, QRectF(left - LedgerOverhang, *low, right - left + 2 * LedgerOverhang,
                                  *high - *low));
    }
    if (hasStem) {
        const int stemX = up ? right : left;
        const int stemEnd = up ? y - StemLength : y + StemLength;
        markDirty(context, QRectF(stemX, y, 0, stemEnd - y));
        const int flags = flagCount(note.durationCode);
        if (flags > 0) {
            const int direction = up ? 1 : -1;
            const int reach = FlagSpacing * (flags - 1) + FlagDepth;
            markDirty(context, QRectF(stemX, stemEnd, FlagWidth * direction, reach * direction));
        }
    }

    if (ledgers.count > 0) {
        painter.setPen(logicalPen(painter, InkBlack, StaffPenWidth));
        for (int i = 0; i < ledgers.count; ++i) {
            const int ledgerY = ledgers.y[static_cast<std::size_t>(i)];
            painter.drawLine(
                QLineF(left - LedgerOverhang, ledgerY, right + LedgerOverhang, ledgerY));
        }
    }

    const QPen pen = logicalPen(painter, colour, StaffPenWidth);
    const QBrush brush{QColor(colour)};
    drawOutlinedEllipse(painter, QRectF(left, top, right - left, bottom - top), pen, brush);

    if (isInRange(note.pitch) && isBlackKey(note.pitch)) {
        const CellFont& font = context.cache.sharpFont();
        const QString sign =
            QString::fromLatin1(sharpSign(clampedConvention(context.state.namingConvention)));
        const double width = font.width(sign);
        markDirty(context, drawCellText(painter, font, left - width - SharpGap,
                                        bottom - font.cellHeight(), sign, colour));
    }

    if (note.durationCode % 2 == 0) {
        drawOutlinedEllipse(
            painter, QRectF(right + DotGap, y + DotTop, DotWidth, DotBottom - DotTop), pen, brush);
    }

    if (hasStem) {
        painter.setPen(pen);
        const int stemX = up ? right : left;
        const int direction = up ? 1 : -1;
        const int stemEnd = y - StemLength * direction;
        painter.drawLine(QLineF(stemX, y, stemX, stemEnd));
        const int flags = flagCount(note.durationCode);
        for (int j = 0; j < flags; ++j) {
            const int f = stemEnd + FlagSpacing * direction * j;
            const QPointF points[3] = {
                QPointF(stemX, f),
                QPointF(stemX + FlagBendX * direction, f + FlagBendY * direction),
                QPointF(stemX + FlagWidth * direction, f + FlagDepth * direction),
            };
            painter.drawPolyline(points, 3);
        }
    }

    painter.setBrush(oldBrush);
    painter.setPen(oldPen);

    if (note.durationCode <= 3) {
        // Hollow head: a white inside outlined with the pen that was current before the call.
        drawOutlinedEllipse(painter, QRectF(left + 2, top + 3, right - left - 4, bottom - top - 6),
                            oldPen, QBrush(QColor(HeadWhite)));
    }
}

void drawNameLabel(PaintContext& context, int pitch, int x, QRgb colour,
                   const NoteGlyph* labelled) {
    const QString text = pitch < 0 ? QStringLiteral("?")
                                   : QString::fromLatin1(noteName(
                                         pitch, clampedConvention(context.state.namingConvention)));
    const CellFont& font = context.cache.labelFont();
    RowSpan rows;
    if (labelled != nullptr) {
        rows = noteRows(context.state.staff, *labelled, Stem::Auto);
    }
    const int top =
        labelTop(static_cast<int>(font.cellHeight()), labelled != nullptr ? &rows : nullptr);
    markDirty(context, drawCellText(context.painter, font, x - LabelShift, top, text, colour));
}

void drawGroup(PaintContext& context, const std::vector<ListNote>& group, QRgb colour) {
    if (group.empty()) {
        return;
    }
    const std::vector<GroupPlacement> placed = placeGroup(context.state.staff, group);
    int smallestX = NoGroupX;
    RowSpan rows{StaffAreaBottom, 0};
    // Sharps after naturals, so that a black key is painted over its white neighbour.
    for (const bool sharps : {false, true}) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            const ListNote& note = group[i];
            if (!isInRange(note.glyph.pitch) || isBlackKey(note.glyph.pitch) != sharps) {
                continue;
            }
            drawNote(context, note.glyph, placed[i].x, colour, placed[i].stem);
            highlightKey(context, note.glyph.pitch, colour);
            smallestX = std::min(smallestX, note.x);
            const RowSpan own = noteRows(context.state.staff, note.glyph, placed[i].stem);
            rows = {std::min(rows.top, own.top), std::max(rows.bottom, own.bottom)};
        }
    }
    const CellFont& font = context.cache.groupLabelFont();
    const QString text = QString::fromUtf8(context.state.displayText.c_str());
    const int width = static_cast<int>(font.width(text));
    const int top =
        labelTop(static_cast<int>(font.cellHeight()), smallestX != NoGroupX ? &rows : nullptr);
    markDirty(context, drawCellText(context.painter, font,
                                    context.state.groupSpread / 2 + smallestX - width / 2, top,
                                    text, colour));
}

} // namespace tessimo
