#include "shell/statistics/DailyChartWidget.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tessimo {

namespace {

const QColor BarColour(110, 140, 200);
const QColor LineColour(40, 160, 70);

// A round step for the answers' scale: 1, 2 or 5 times a power of ten, giving at most four
// lines.
int scaleStep(int largest) {
    int step = 1;
    while (true) {
        for (int m : {1, 2, 5}) {
            if (largest <= 4 * step * m) {
                return step * m;
            }
        }
        step *= 10;
    }
}

} // namespace

DailyChartWidget::DailyChartWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(300, 160);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DailyChartWidget::setSeries(DailySeries series) {
    series_ = std::move(series);
    update();
}

QRectF DailyChartWidget::plotArea() const {
    const QFontMetricsF metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("00000")) + 8;
    const double right = metrics.horizontalAdvance(QStringLiteral("100 %")) + 8;
    const double top = metrics.height() + 6;
    const double bottom = 2 * metrics.height() + 6;
    return QRectF(left, top, std::max(10.0, width() - left - right),
                  std::max(10.0, height() - top - bottom));
}

QRectF DailyChartWidget::barRect(int day) const {
    const int count = static_cast<int>(series_.points.size());
    if (day < 0 || day >= count || series_.points[static_cast<std::size_t>(day)].answers == 0) {
        return {};
    }
    const QRectF plot = plotArea();
    const double slot = plot.width() / count;
    const int top = scaleStep(std::max(1, series_.mostAnswers)) * 4;
    const double h = plot.height() * series_.points[static_cast<std::size_t>(day)].answers / top;
    const double gap = slot > 6 ? slot * 0.2 : 0;
    return QRectF(plot.left() + day * slot + gap / 2, plot.bottom() - h, slot - gap, h);
}

void DailyChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QRectF plot = plotArea();
    const QFontMetricsF metrics(font());
    const int step = scaleStep(std::max(1, series_.mostAnswers));
    const int count = static_cast<int>(series_.points.size());

    painter.setPen(palette().text().color());
    painter.drawText(QRectF(0, 0, width(), metrics.height() + 4), Qt::AlignLeft | Qt::AlignTop,
                     tr("Answers per day (bars) and share right (line)"));
    // Grid and scales: answers on the left, per cent on the right.
    for (int k = 0; k <= 4; ++k) {
        const double y = plot.bottom() - plot.height() * k / 4;
        painter.setPen(QColor(220, 220, 220));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(palette().text().color());
        painter.drawText(QRectF(0, y - metrics.height() / 2, plot.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(step * k));
        painter.drawText(
            QRectF(plot.right() + 4, y - metrics.height() / 2, width(), metrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1 %").arg(25 * k));
    }
    for (int d = 0; d < count; ++d) {
        const QRectF bar = barRect(d);
        if (!bar.isEmpty()) {
            painter.fillRect(bar, BarColour);
        }
    }
    // Dates under the first day, the last, and every week's first day between when they fit.
    const double slot = count > 0 ? plot.width() / count : 0;
    const double dateWidth = metrics.horizontalAdvance(QStringLiteral("0000-00-00")) + 12;
    double nextFree = 0;
    painter.setPen(palette().text().color());
    for (int d = 0; d < count; ++d) {
        const bool last = d == count - 1;
        if (d % 7 != 0 && !last) {
            continue;
        }
        const double x = plot.left() + (d + 0.5) * slot;
        const double left = std::clamp(x - dateWidth / 2, 0.0, width() - dateWidth);
        if (left < nextFree) {
            continue;
        }
        const QString date =
            QString::fromStdString(series_.points[static_cast<std::size_t>(d)].day);
        painter.drawText(QRectF(left, plot.bottom() + 4, dateWidth, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, date);
        nextFree = left + dateWidth;
    }
    // The share right through the days practised.
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath line;
    bool started = false;
    for (int d = 0; d < count; ++d) {
        const DayPoint& point = series_.points[static_cast<std::size_t>(d)];
        if (!point.practised()) {
            continue;
        }
        const QPointF at(plot.left() + (d + 0.5) * slot,
                         plot.bottom() - plot.height() * point.accuracy());
        if (started) {
            line.lineTo(at);
        } else {
            line.moveTo(at);
            started = true;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(LineColour);
        painter.drawEllipse(at, 2.5, 2.5);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(LineColour, 2));
    painter.drawPath(line);
    painter.setPen(palette().text().color());
    painter.drawRect(plot);
    if (series_.answers == 0) {
        painter.drawText(plot, Qt::AlignCenter, tr("No answers in this period."));
    }
}

int DailyChartWidget::dayAt(QPoint point) const {
    const QRectF plot = plotArea();
    const int count = static_cast<int>(series_.points.size());
    if (count == 0 || !plot.contains(point)) {
        return -1;
    }
    return std::clamp(static_cast<int>((point.x() - plot.left()) * count / plot.width()), 0,
                      count - 1);
}

QString DailyChartWidget::descriptionAt(QPoint point) const {
    const int day = dayAt(point);
    if (day < 0) {
        return {};
    }
    const DayPoint& p = series_.points[static_cast<std::size_t>(day)];
    if (!p.practised()) {
        return tr("%1: no practice").arg(QString::fromStdString(p.day));
    }
    return tr("%1: %2 answers, %3 % right")
        .arg(QString::fromStdString(p.day))
        .arg(p.answers)
        .arg(static_cast<int>(std::lround(100.0 * p.accuracy())));
}

bool DailyChartWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = descriptionAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace tessimo
