#include "display/PaintCache.h"

#include <QPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace tessimo {

namespace {

const char* const PicturePaths[PictureCount] = {
    ":/staff/treble_clef.svg",
    ":/staff/bass_clef.svg",
    ":/staff/background.svg",
};

} // namespace

PaintCache::PaintCache()
    : sharpFont_(160, 16), labelFont_(200, 20), groupLabelFont_(200, 20), braceFont_(1200, 20),
      scoreFont_(200, 20), countdownFont_(400, 100) {
    for (int i = 0; i < PictureCount; ++i) {
        pictures_[i].renderer =
            std::make_unique<QSvgRenderer>(QString::fromLatin1(PicturePaths[i]));
    }
}

PaintCache::~PaintCache() = default;

bool PaintCache::pictureValid(Picture picture) const {
    return pictures_[static_cast<int>(picture)].renderer->isValid();
}

int PaintCache::renderCount(Picture picture) const {
    return pictures_[static_cast<int>(picture)].renders;
}

void PaintCache::drawPicture(QPainter& painter, Picture picture, const QRectF& logicalRect) {
    CachedPicture& cached = pictures_[static_cast<int>(picture)];
    if (!cached.renderer->isValid()) {
        return;
    }
    // Work in physical pixels so the rendering lands on whole pixels and is never resampled.
    const QTransform toDevice = painter.deviceTransform();
    const QRectF deviceRect = toDevice.mapRect(logicalRect);
    const int left = static_cast<int>(std::lround(deviceRect.left()));
    const int top = static_cast<int>(std::lround(deviceRect.top()));
    const int right = static_cast<int>(std::lround(deviceRect.right()));
    const int bottom = static_cast<int>(std::lround(deviceRect.bottom()));
    const QSize size(right - left, bottom - top);
    if (size.width() <= 0 || size.height() <= 0) {
        return;
    }
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (cached.image.size() != size || cached.image.devicePixelRatio() != ratio) {
        const bool opaque = picture == Picture::Background;
        cached.image =
            QImage(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        cached.image.fill(opaque ? Qt::white : Qt::transparent);
        QPainter imagePainter(&cached.image);
        imagePainter.setRenderHint(QPainter::Antialiasing);
        imagePainter.setRenderHint(QPainter::SmoothPixmapTransform);
        cached.renderer->render(&imagePainter, QRectF(0, 0, size.width(), size.height()));
        imagePainter.end();
        cached.image.setDevicePixelRatio(ratio);
        ++cached.renders;
    }
    // The device transform already holds the device pixel ratio; drawing with it switched off
    // places the image pixel for pixel.
    painter.save();
    painter.resetTransform();
    painter.setViewTransformEnabled(false);
    painter.drawImage(QPointF(left / ratio, top / ratio), cached.image);
    painter.restore();
}

} // namespace tessimo
