#include "display/PaintStyle.h"

#include <QFontMetricsF>
#include <QPaintDevice>
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

void drawOutlinedEllipse(QPainter& painter, const QRectF& rect, const QPen& pen,
                         const QBrush& fill) {
    const QTransform& toDevice = painter.deviceTransform();
    const double sx = std::abs(toDevice.m11());
    const double sy = std::abs(toDevice.m22());
    double deviceWidth = 0;
    if (pen.style() != Qt::NoPen) {
        deviceWidth =
            pen.isCosmetic() || pen.widthF() == 0 ? std::max(1.0, pen.widthF()) : pen.widthF() * sx;
    }
    const QPen oldPen = painter.pen();
    const QBrush oldBrush = painter.brush();
    painter.setPen(Qt::NoPen);
    if (deviceWidth > 0 && sx > 0 && sy > 0) {
        const double hx = deviceWidth / 2 / sx;
        const double hy = deviceWidth / 2 / sy;
        painter.setBrush(pen.color());
        painter.drawEllipse(rect.adjusted(-hx, -hy, hx, hy));
        if (fill.style() != Qt::NoBrush && fill.color() != pen.color()) {
            painter.setBrush(fill);
            painter.drawEllipse(rect.adjusted(hx, hy, -hx, -hy));
        }
    } else if (fill.style() != Qt::NoBrush) {
        painter.setBrush(fill);
        painter.drawEllipse(rect);
    }
    painter.setBrush(oldBrush);
    painter.setPen(oldPen);
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
    const int pixelSize =
        std::max(1, static_cast<int>(std::lround(ReferencePixelSize * cellHeight / referenceCell)));
    font_.setPixelSize(pixelSize);
    const double naturalAverage = AverageWidthPerEm * pixelSize;
    font_.setStretch(
        std::clamp(static_cast<int>(std::lround(100.0 * averageWidth / naturalAverage)), 1, 4000));
    metrics_.emplace(font_);
    ascent_ = metrics_->ascent();
    cellHeight_ = metrics_->ascent() + metrics_->descent();
}

double CellFont::width(const QString& text) const {
    return metrics_ ? metrics_->horizontalAdvance(text) : 0.0;
}

const QFont& CellFont::scaledFont(double kx, double ky, double* ascent) const {
    if (kx != scaled_.kx || ky != scaled_.ky) {
        scaled_.kx = kx;
        scaled_.ky = ky;
        scaled_.font = font_;
        scaled_.font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(font_.pixelSize() * ky))));
        const double stretch = font_.stretch() * kx / ky;
        scaled_.font.setStretch(std::clamp(static_cast<int>(std::lround(stretch)), 1, 4000));
        scaled_.ascent = QFontMetricsF(scaled_.font).ascent();
    }
    *ascent = scaled_.ascent;
    return scaled_.font;
}

QRectF drawCellText(QPainter& painter, const CellFont& font, double x, double top,
                    const QString& text, QRgb colour) {
    // Place the cell by the mapping, then draw in device-independent pixels with a font sized
    // for the mapping's scale.
    const QTransform toDevice = painter.deviceTransform();
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    const QPointF origin = toDevice.map(QPointF(x, top)) / ratio;
    double ascent = 0;
    const QFont& scaled = font.scaledFont(std::abs(toDevice.m11()) / ratio,
                                          std::abs(toDevice.m22()) / ratio, &ascent);
    const QPen oldPen = painter.pen();
    const QFont oldFont = painter.font();
    painter.save();
    painter.resetTransform();
    painter.setViewTransformEnabled(false);
    painter.setPen(QColor(colour));
    painter.setFont(scaled);
    painter.drawText(QPointF(origin.x(), origin.y() + ascent), text);
    painter.restore();
    painter.setFont(oldFont);
    painter.setPen(oldPen);
    return QRectF(x, top, font.width(text), font.cellHeight());
}

} // namespace tessimo
