#include "shell/statistics/HeatMapWidget.h"

#include "display/FramePainter.h"
#include "display/KeyboardPainter.h"
#include "display/NotePainter.h"
#include "display/PaintContext.h"
#include "display/StaffPainter.h"
#include "geometry/KeyboardGeometry.h"
#include "geometry/LogicalSpace.h"
#include "geometry/PitchAt.h"
#include "model/Pitch.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tessimo {

namespace {

constexpr int FirstNoteX = 260;
constexpr int LastNoteX = 1900;
constexpr int WidestNoteStep = 150;
constexpr int QuarterCode = 5;

QRgb cellColour(const HeatCell& cell) {
    const HeatRgb c = heatColour(cell.heat);
    return qRgb(c.red, c.green, c.blue);
}

// Black text on light cells, white on dark ones.
QColor textColourOn(QRgb background) {
    return qGray(background) > 110 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

HeatMapWidget::HeatMapWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(480, 240);
    setMouseTracking(true);
    layOut();
}

void HeatMapWidget::setCells(std::vector<HeatCell> cells, int convention) {
    cells_ = std::move(cells);
    std::sort(cells_.begin(), cells_.end(),
              [](const HeatCell& a, const HeatCell& b) { return a.pitch < b.pitch; });
    cells_.erase(std::remove_if(cells_.begin(), cells_.end(),
                                [](const HeatCell& c) { return !isInRange(c.pitch); }),
                 cells_.end());
    convention_ = convention;
    layOut();
    update();
}

// The staves as the games choose them for the pitches shown: bass when one lies below 58,
// treble when none does or one lies above 63; the notes side by side from low to high.
void HeatMapWidget::layOut() {
    bool low = false;
    bool high = false;
    for (const HeatCell& cell : cells_) {
        low = low || cell.pitch <= 57;
        high = high || cell.pitch >= 64;
    }
    layout_ = StaffLayout{};
    layout_.bassShown = low ? 1 : 0;
    layout_.trebleShown = !low || high ? 1 : 0;
    if (!low) {
        layout_.staffBaseY = TrebleOnlyBaseY;
    } else if (layout_.trebleShown == 0) {
        layout_.staffBaseY = BassOnlyBaseY;
    } else {
        layout_.trebleOffset = -TwoStaffOffset;
        layout_.bassOffset = TwoStaffOffset;
        layout_.staffBaseY = BothStavesBaseY;
    }

    frame_ = FrameState{};
    frame_.mode = GameMode::Idle;
    frame_.namingConvention = convention_;
    frame_.staff = {layout_.trebleShown != 0, layout_.bassShown != 0, layout_.trebleOffset,
                    layout_.bassOffset};
    noteX_.clear();
    const int n = static_cast<int>(cells_.size());
    const int step = n > 1 ? std::min(WidestNoteStep, (LastNoteX - FirstNoteX) / (n - 1)) : 0;
    const int first = n > 1 ? FirstNoteX : (FirstNoteX + LastNoteX) / 2;
    for (int i = 0; i < n; ++i) {
        const int pitch = cells_[static_cast<std::size_t>(i)].pitch;
        PitchEntry& entry = frame_.table[static_cast<std::size_t>(pitch)];
        entry.selected = true;
        entry.glyph = {pitch, QuarterCode, layout_.pitchY(pitch)};
        noteX_.push_back(first + i * step);
    }
}

int HeatMapWidget::noteX(int pitch) const {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        if (cells_[i].pitch == pitch) {
            return noteX_[i];
        }
    }
    return -1;
}

void HeatMapWidget::paintEvent(QPaintEvent*) {
    // Composed off screen, as the main view is: the painters place pictures and text by the
    // device transform, which must start at the picture's own corner.
    const qreal ratio = devicePixelRatioF();
    QImage image(QSize(static_cast<int>(std::ceil(width() * ratio)),
                       static_cast<int>(std::ceil(height() * ratio))),
                 QImage::Format_RGB32);
    if (image.isNull()) {
        return;
    }
    image.setDevicePixelRatio(ratio);
    compose(image);
    QPainter(this).drawImage(0, 0, image);
}

void HeatMapWidget::compose(QImage& image) {
    QPainter painter(&image);
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::Antialiasing);
    installLogicalMapping(painter, size());
    PaintContext context{painter, cache_, frame_};
    cache_.drawPicture(painter, Picture::Background, QRectF(0, 0, LogicalWidth, StaffAreaBottom));
    drawStaves(context);
    drawClefs(context);
    drawKeyboard(context);
    // Naturals before sharps: a white key covers the lower part of its black neighbours,
    // which highlightKey paints again in their plain colour.
    for (const bool sharps : {false, true}) {
        for (const HeatCell& cell : cells_) {
            if (isBlackKey(cell.pitch) == sharps) {
                highlightKey(context, cell.pitch, cellColour(cell));
            }
        }
    }
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const HeatCell& cell = cells_[i];
        drawNote(context, frame_.table[static_cast<std::size_t>(cell.pitch)].glyph, noteX_[i],
                 cellColour(cell));
    }

    // The numbers, in widget pixels with a font sized to the keys.
    const QTransform toWidget = painter.combinedTransform();
    painter.resetTransform();
    painter.setViewTransformEnabled(false);
    drawnLabels_.clear();
    const double keyWidth =
        toWidget.map(QPointF(WhiteKeyWidth, 0)).x() - toWidget.map(QPointF(0, 0)).x();
    QFont font = this->font();
    font.setPixelSize(std::max(7, static_cast<int>(keyWidth * 0.32)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double textHeight = metrics.height();
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const HeatCell& cell = cells_[i];
        const QString text = QString::fromStdString(cell.label);
        const KeyRect key = keyRect(cell.pitch);
        const QRgb colour = cellColour(cell);
        // On the key: the lower end of a white key, below its black neighbours; the lower end
        // of a black key.
        const int bottom = isBlackKey(cell.pitch) ? BlackKeyBottom : KeyboardBottom;
        const QPointF keyBottomLeft = toWidget.map(QPointF(key.left, bottom));
        const QPointF keyBottomRight = toWidget.map(QPointF(key.right, bottom));
        const QRectF onKey(keyBottomLeft.x(), keyBottomLeft.y() - textHeight * 1.6,
                           keyBottomRight.x() - keyBottomLeft.x(), textHeight * 1.4);
        painter.setPen(textColourOn(colour));
        painter.drawText(onKey, Qt::AlignHCenter | Qt::AlignBottom, text);
        drawnLabels_.push_back({cell.pitch, true, text, onKey});

        // Under the note's head, alternately one and two lines down when the notes stand close.
        const int y = frame_.table[static_cast<std::size_t>(cell.pitch)].glyph.staffY;
        const QPointF head = toWidget.map(QPointF(noteX_[i], y + HeadHalfHeight));
        const double row = (i % 2 == 1 && noteX_.size() > 12) ? textHeight : 0;
        const QRectF underNote(head.x() - keyWidth, head.y() + 2 + row, 2 * keyWidth, textHeight);
        painter.setPen(Qt::black);
        painter.drawText(underNote, Qt::AlignHCenter | Qt::AlignTop, text);
        drawnLabels_.push_back({cell.pitch, false, text, underNote});
    }
    if (cells_.empty()) {
        QFont big = this->font();
        big.setPixelSize(std::max(10, height() / 22));
        painter.setFont(big);
        painter.setPen(Qt::black);
        const QRectF staffArea(0, 0, width(), height() * StaffHeightFraction * 0.3);
        painter.drawText(staffArea, Qt::AlignCenter,
                         tr("No single-note answers for these filters yet."));
    }
}

int HeatMapWidget::pitchAt(QPoint point) const {
    const LogicalPoint logical = deviceToLogical({point.x(), point.y()}, {width(), height()});
    if (logical.y >= StaffAreaBottom) {
        const int pitch = pitchAtLogical(logical, layout_);
        return pitch != 255 && noteX(pitch) >= 0 ? pitch : -1;
    }
    // On the staff: the nearest note shown, within a head's width or so.
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const int y = frame_.table[static_cast<std::size_t>(cells_[i].pitch)].glyph.staffY;
        if (std::abs(logical.x - noteX_[i]) <= 2 * HeadHalfWidth &&
            std::abs(logical.y - y) <= HeadHalfHeight) {
            return cells_[i].pitch;
        }
    }
    return -1;
}

QString HeatMapWidget::descriptionAt(QPoint point) const {
    const int pitch = pitchAt(point);
    for (const HeatCell& cell : cells_) {
        if (cell.pitch == pitch) {
            return QString::fromStdString(cellDescription(cell, convention_));
        }
    }
    return {};
}

bool HeatMapWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = descriptionAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace tessimo
