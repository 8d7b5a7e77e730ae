// The daily chart of the statistics window: a bar per day for the answers given (the scale on
// the left) and a line through the days practised for the share right (0 to 100 % on the
// right). Painted, like the rest of the program. User-interface thread only.
#pragma once

#include "statistics/DailySeries.h"

#include <QWidget>

namespace tessimo {

class DailyChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit DailyChartWidget(QWidget* parent = nullptr);

    void setSeries(DailySeries series);
    const DailySeries& series() const { return series_; }

    // The bar of day i (0 = oldest) as the last paint drew it, in widget pixels; empty when
    // the day has no answers.
    QRectF barRect(int day) const;

    // The day under a widget point, -1 for none, and its description for a tool tip.
    int dayAt(QPoint point) const;
    QString descriptionAt(QPoint point) const;

    QSize sizeHint() const override { return {520, 220}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF plotArea() const;

    DailySeries series_;
};

} // namespace tessimo
