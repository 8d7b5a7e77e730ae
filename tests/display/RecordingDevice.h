// A paint device that draws nothing and lists every primitive it receives, in the painter's
// own (logical) coordinates, with the pen, brush and font in force. Its size is 2000 x 3200, so
// under the view's mapping logical units and device pixels coincide.
#pragma once

#include <QFont>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>
#include <QRectF>
#include <QRgb>
#include <QString>

#include <memory>
#include <vector>

namespace tessimo::testing {

struct Drawn {
    enum Kind { Line, Rect, Ellipse, Polyline, Polygon, Text, Image };
    Kind kind = Line;
    QLineF line;
    QRectF rect; // Rect, Ellipse, Image (target)
    QPolygonF points;
    QString text;
    QPointF baseline; // Text
    QFont font;
    QRgb pen = 0;
    double penWidth = 0;
    bool penVisible = true;
    QRgb brush = 0;
    bool brushSolid = false;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine();
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawEllipse(const QRectF& rect) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override;
    void drawImage(const QRectF& r, const QImage&, const QRectF&,
                   Qt::ImageConversionFlags) override;
    void drawTextItem(const QPointF& p, const QTextItem& item) override;
    Type type() const override { return QPaintEngine::User; }

    std::vector<Drawn> items;

private:
    Drawn styled(Drawn::Kind kind) const;
    QPen pen_;
    QBrush brush_;
    QFont font_;
    QTransform transform_;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice();
    ~RecordingDevice() override;
    QPaintEngine* paintEngine() const override { return engine_.get(); }
    std::vector<Drawn>& items() { return engine_->items; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<RecordingEngine> engine_;
};

} // namespace tessimo::testing
