#include "display/FramePainter.h"

#include "display/KeyboardPainter.h"
#include "display/ModePainter.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "display/ScorePanel.h"
#include "display/StaffPainter.h"
#include "model/Pitch.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRegion>

#include <cmath>
#include <cstring>

namespace tessimo {

namespace {

std::uint64_t selectionBits(const FrameState& state) {
    std::uint64_t bits = 0;
    for (int pitch = LowestPitch; pitch <= HighestPitch; ++pitch) {
        if (state.table[pitch].selected) {
            bits |= std::uint64_t{1} << (pitch - LowestPitch);
        }
    }
    return bits;
}

bool showsScore(GameMode mode) {
    return mode == GameMode::NotesDictation || mode == GameMode::IntervalDictation ||
           mode == GameMode::ChordsDictation || mode == GameMode::Recognize;
}

QSize deviceSizeOf(QSize clientSize, qreal ratio) {
    return QSize(static_cast<int>(std::ceil(clientSize.width() * ratio)),
                 static_cast<int>(std::ceil(clientSize.height() * ratio)));
}

} // namespace

void installLogicalMapping(QPainter& painter, QSize clientSize) {
    painter.setWindow(0, 0, LogicalWidth, LogicalHeight);
    painter.setViewport(0, 0, clientSize.width(), clientSize.height());
}

bool FramePainter::StaticKey::operator==(const StaticKey& other) const {
    return deviceSize == other.deviceSize && ratio == other.ratio &&
           staff.trebleShown == other.staff.trebleShown &&
           staff.bassShown == other.staff.bassShown &&
           staff.trebleOffset == other.staff.trebleOffset &&
           staff.bassOffset == other.staff.bassOffset && selection == other.selection &&
           brace == other.brace;
}

void FramePainter::ensureStaticLayer(QSize clientSize, const StaticKey& key,
                                     const FrameState& state) {
    if (haveStatic_ && key == staticKey_) {
        return;
    }
    if (staticLayer_.size() != key.deviceSize) {
        staticLayer_ = QImage(key.deviceSize, QImage::Format_RGB32);
        if (staticLayer_.isNull()) { // no memory for a picture this size: draw nothing
            haveStatic_ = false;
            return;
        }
    }
    staticLayer_.setDevicePixelRatio(key.ratio);
    // The strips around the keys get no paint of their own; they stay dark.
    staticLayer_.fill(Qt::black);
    QPainter painter(&staticLayer_);
    painter.setRenderHint(QPainter::Antialiasing);
    installLogicalMapping(painter, clientSize);
    PaintContext context{painter, cache_, state};
    cache_.drawPicture(painter, Picture::Background, QRectF(0, 0, LogicalWidth, StaffAreaBottom));
    drawStaves(context);
    drawClefs(context);
    drawKeyboard(context);
    painter.end();
    staticKey_ = key;
    haveStatic_ = true;
    frameStale_ = true;
    ++staticRebuilds_;
}

void FramePainter::restoreFromStatic() {
    const bool whole = frameStale_ || frame_.size() != staticLayer_.size();
    if (frame_.size() != staticLayer_.size()) {
        frame_ = QImage(staticLayer_.size(), QImage::Format_RGB32);
        if (frame_.isNull()) {
            return;
        }
    }
    frame_.setDevicePixelRatio(staticLayer_.devicePixelRatio());
    if (whole) {
        std::memcpy(frame_.bits(), staticLayer_.constBits(),
                    static_cast<std::size_t>(staticLayer_.sizeInBytes()));
        frameStale_ = false;
        return;
    }
    // Only what the previous frame painted over the static layer needs restoring.
    const QRect bounds = frame_.rect();
    const qsizetype stride = frame_.bytesPerLine();
    QRegion region;
    for (const QRect& dirty : dirty_.rects()) {
        region += dirty.intersected(bounds);
    }
    for (const QRect& area : region) {
        if (area.isEmpty()) {
            continue;
        }
        const std::size_t offset = static_cast<std::size_t>(area.left()) * 4;
        const std::size_t length = static_cast<std::size_t>(area.width()) * 4;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            std::memcpy(frame_.bits() + stride * y + offset,
                        staticLayer_.constBits() + stride * y + offset, length);
        }
    }
}

int FramePainter::compose(QSize clientSize, qreal devicePixelRatio, const FrameState& state) {
    if (clientSize.isEmpty()) {
        return -1;
    }
    StaticKey key;
    key.deviceSize = deviceSizeOf(clientSize, devicePixelRatio);
    key.ratio = devicePixelRatio;
    key.staff = state.staff;
    // Only the shown staves' offsets matter; a hidden staff's offset keeps a stale value.
    if (!key.staff.trebleShown) {
        key.staff.trebleOffset = 0;
    }
    if (!key.staff.bassShown) {
        key.staff.bassOffset = 0;
    }
    key.selection = selectionBits(state);
    key.brace = state.mode == GameMode::ListenNotes; // the play line, and the brace of two staves
    ensureStaticLayer(clientSize, key, state);
    if (!haveStatic_) {
        return -1;
    }
    restoreFromStatic();
    if (frame_.isNull()) {
        frameStale_ = true;
        return -1;
    }

    QPainter painter(&frame_);
    painter.setRenderHint(QPainter::Antialiasing);
    installLogicalMapping(painter, clientSize);
    painter.setPen(QPen(Qt::black, 0)); // one device pixel, the outline of hollow heads
    painter.setBrush(QColor(CompositionBrush));
    dirty_.clear();
    PaintContext context{painter, cache_, state, &dirty_};
    const int expected = drawNotesForMode(context);
    if (state.mode == GameMode::Record || state.mode == GameMode::Recognize) {
        drawCountdown(context);
    }
    if (showsScore(state.mode)) {
        drawScorePanel(context);
    }
    painter.end();
    return expected;
}

int FramePainter::paint(QPainter& target, QSize clientSize, const FrameState& state) {
    const qreal ratio = target.device() ? target.device()->devicePixelRatioF() : 1.0;
    const int expected = compose(clientSize, ratio, state);
    if (frame_.isNull() || clientSize.isEmpty()) {
        return expected;
    }
    target.save();
    target.resetTransform();
    target.setViewTransformEnabled(false);
    target.setCompositionMode(QPainter::CompositionMode_Source);
    if (target.hasClipping()) {
        // Only the invalid part of the window is copied (the countdown repaints a corner).
        const QRectF clip = target.clipBoundingRect();
        const QRectF source(clip.topLeft() * ratio, clip.size() * ratio);
        target.drawImage(clip, frame_, source.intersected(QRectF(frame_.rect())));
    } else {
        target.drawImage(QPointF(0, 0), frame_);
    }
    target.restore();
    return expected;
}

} // namespace tessimo
