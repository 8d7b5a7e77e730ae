// Fonts and pictures of the main view, created once and kept for the painter's life.
// Pictures are vector artwork rendered to pixmaps at the exact device size they are shown at,
// so they stay crisp at any window size and device pixel ratio; the last rendering of each
// picture is kept and reused while the size does not change. User-interface thread only.
#pragma once

#include "display/PaintStyle.h"

#include <QImage>
#include <QRectF>
#include <QSize>

#include <array>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace tessimo {

enum class Picture : int { TrebleClef = 0, BassClef = 1, Background = 2 };
inline constexpr int PictureCount = 3;

class PaintCache {
public:
    PaintCache();
    ~PaintCache();
    PaintCache(const PaintCache&) = delete;
    PaintCache& operator=(const PaintCache&) = delete;

    const CellFont& sharpFont() const { return sharpFont_; }
    const CellFont& labelFont() const { return labelFont_; }
    const CellFont& groupLabelFont() const { return groupLabelFont_; }
    const CellFont& braceFont() const { return braceFont_; }
    const CellFont& scoreFont() const { return scoreFont_; }
    const CellFont& countdownFont() const { return countdownFont_; }

    // Draws the picture stretched onto the logical rectangle. Clefs are black ink on a
    // transparent ground, so the background shows through as it would under a bitwise AND of
    // a black-on-white picture; the background picture is opaque.
    void drawPicture(QPainter& painter, Picture picture, const QRectF& logicalRect);

    // False when a picture's artwork could not be loaded (then it is simply not drawn).
    bool pictureValid(Picture picture) const;

    // Times a picture was rendered (its cached pixmap rebuilt); for tests of the cache.
    int renderCount(Picture picture) const;

private:
    struct CachedPicture {
        std::unique_ptr<QSvgRenderer> renderer;
        QImage image; // physical pixels, carries the device pixel ratio
        int renders = 0;
    };

    CellFont sharpFont_;
    CellFont labelFont_;
    CellFont groupLabelFont_;
    CellFont braceFont_;
    CellFont scoreFont_;
    CellFont countdownFont_;
    std::array<CachedPicture, PictureCount> pictures_;
};

} // namespace tessimo
