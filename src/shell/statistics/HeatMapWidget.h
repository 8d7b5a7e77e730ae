// The heat map of the statistics window: the program's own staff and keyboard, with every
// pitch asked drawn as a note and its key in the colour of its accuracy or answer time, and
// the number written on the key and under the note. User-interface thread only.
#pragma once

#include "display/FrameState.h"
#include "display/PaintCache.h"
#include "geometry/StaffLayout.h"
#include "statistics/HeatMap.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

namespace tessimo {

class HeatMapWidget : public QWidget {
    Q_OBJECT
public:
    explicit HeatMapWidget(QWidget* parent = nullptr);

    // The cells to show (lowest pitch first) and the naming convention of the tool tips.
    void setCells(std::vector<HeatCell> cells, int convention);
    const std::vector<HeatCell>& cells() const { return cells_; }

    // A number as the last paint wrote it: on the key or under the note of a pitch.
    struct DrawnLabel {
        int pitch = 0;
        bool onKey = false; // else under the note on the staff
        QString text;
        QRectF rect; // widget pixels
    };
    const std::vector<DrawnLabel>& drawnLabels() const { return drawnLabels_; }

    // The pitch under a widget point (its key, or its place on the staff), -1 for none; and the
    // description of its cell ("E4: 12 of 15 right (80 %), median 1.4 s"), empty for none.
    int pitchAt(QPoint point) const;
    QString descriptionAt(QPoint point) const;

    // Where the note of a pitch stands, in logical units (-1 when it is not shown).
    int noteX(int pitch) const;
    const StaffLayout& layout() const { return layout_; }

    QSize sizeHint() const override { return {900, 430}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void layOut();
    void compose(QImage& image);

    std::vector<HeatCell> cells_;
    std::vector<int> noteX_; // per cell
    int convention_ = 0;
    StaffLayout layout_;
    FrameState frame_;
    PaintCache cache_;
    std::vector<DrawnLabel> drawnLabels_;
};

} // namespace tessimo
