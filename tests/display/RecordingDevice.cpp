#include "RecordingDevice.h"

#include <QTextItem>

namespace tessimo::testing {

RecordingEngine::RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

void RecordingEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyPen) {
        pen_ = state.pen();
    }
    if (flags & DirtyBrush) {
        brush_ = state.brush();
    }
    if (flags & DirtyFont) {
        font_ = state.font();
    }
    if (flags & DirtyTransform) {
        transform_ = state.transform();
    }
}

Drawn RecordingEngine::styled(Drawn::Kind kind) const {
    Drawn d;
    d.kind = kind;
    d.pen = pen_.color().rgb();
    d.penWidth = pen_.widthF();
    d.penVisible = pen_.style() != Qt::NoPen;
    d.brush = brush_.color().rgb();
    d.brushSolid = brush_.style() == Qt::SolidPattern;
    d.font = font_;
    return d;
}

void RecordingEngine::drawLines(const QLineF* lines, int count) {
    for (int i = 0; i < count; ++i) {
        Drawn d = styled(Drawn::Line);
        d.line = transform_.map(lines[i]);
        items.push_back(d);
    }
}

void RecordingEngine::drawRects(const QRectF* rects, int count) {
    for (int i = 0; i < count; ++i) {
        Drawn d = styled(Drawn::Rect);
        d.rect = transform_.mapRect(rects[i]);
        items.push_back(d);
    }
}

void RecordingEngine::drawEllipse(const QRectF& rect) {
    Drawn d = styled(Drawn::Ellipse);
    d.rect = transform_.mapRect(rect);
    items.push_back(d);
}

void RecordingEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    Drawn d = styled(mode == PolylineMode ? Drawn::Polyline : Drawn::Polygon);
    for (int i = 0; i < count; ++i) {
        d.points << transform_.map(points[i]);
    }
    items.push_back(d);
}

void RecordingEngine::drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) {
    Drawn d = styled(Drawn::Image);
    d.rect = transform_.mapRect(r);
    items.push_back(d);
}

void RecordingEngine::drawImage(const QRectF& r, const QImage&, const QRectF&,
                                Qt::ImageConversionFlags) {
    Drawn d = styled(Drawn::Image);
    d.rect = transform_.mapRect(r);
    items.push_back(d);
}

void RecordingEngine::drawTextItem(const QPointF& p, const QTextItem& item) {
    Drawn d = styled(Drawn::Text);
    d.text = item.text();
    d.baseline = transform_.map(p);
    d.font = item.font();
    items.push_back(d);
}

RecordingDevice::RecordingDevice() : engine_(std::make_unique<RecordingEngine>()) {}

RecordingDevice::~RecordingDevice() = default;

int RecordingDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return 2000;
    case PdmHeight:
        return 3200;
    case PdmWidthMM:
        return 529;
    case PdmHeightMM:
        return 847;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace tessimo::testing
