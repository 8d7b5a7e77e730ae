#include "display/PaintStyle.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessimo {

namespace {

// The average character width of the metric family the view names ("Arial", which resolves to a
// metric-compatible face) is 904/2048 of the em. The face's own OS/2 average is computed over
// all its glyphs and is much wider, so it cannot be used to reproduce the intended proportions.
constexpr double AverageWidthPerEm = 904.0 / 2048.0;
constexpr int ReferencePixelSize = 1000;

} // namespace

QPen logicalPen(const QPainter& painter, QRgb colour, int logicalWidth) {
    QPen pen{QColor(colour)};
    pen.setCosmetic(true);
    pen.setWidthF(logicalWidth * std::abs(painter.deviceTransform().m11()));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

CellFont::CellFont(int cellHeight, int averageWidth) {
    font_ = QFont(QStringLiteral("Arial"));
    font_.setStyleHint(QFont::SansSerif);
    font_.setWeight(QFont::Normal);
    font_.setItalic(false);
    font_.setUnderline(false);
    font_.setStrikeOut(false);
    font_.setKerning(false);
    font_.setPixelSize(ReferencePixelSize);
    const QFontMetricsF reference(font_);
    const double referenceCell = reference.ascent() + reference.descent();
    const int pixelSize = std::max(1, static_cast<int>(std::lround(ReferencePixelSize *
                                                                    cellHeight / referenceCell)));
    font_.setPixelSize(pixelSize);
    const double naturalAverage = AverageWidthPerEm * pixelSize;
    font_.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * averageWidth / naturalAverage)),
                                1, 4000));
    metrics_.emplace(font_);
    ascent_ = metrics_->ascent();
    cellHeight_ = metrics_->ascent() + metrics_->descent();
}

double CellFont::width(const QString& text) const {
    return metrics_ ? metrics_->horizontalAdvance(text) : 0.0;
}

void drawCellText(QPainter& painter, const CellFont& font, double x, double top,
                  const QString& text, QRgb colour) {
    const QPen oldPen = painter.pen();
    const QFont oldFont = painter.font();
    painter.setPen(QColor(colour));
    painter.setFont(font.font());
    painter.drawText(QPointF(x, top + font.ascent()), text);
    painter.setFont(oldFont);
    painter.setPen(oldPen);
}

} // namespace tessimo
