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

bool showsScore(PaintMode mode) {
    return mode == PaintMode::NotesDictation || mode == PaintMode::IntervalDictation ||
           mode == PaintMode::ChordsDictation || mode == PaintMode::Recognize;
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
    }
    staticLayer_.setDevicePixelRatio(key.ratio);
    // The strips around the keys get no paint of their own; they stay dark.
    staticLayer_.fill(Qt::black);
    QPainter painter(&staticLayer_);
    painter.setRenderHint(QPainter::Antialiasing);
    installLogicalMapping(painter, clientSize);
    PaintContext context{painter, cache_, state};
    cache_.drawPicture(painter, Picture::Background,
                       QRectF(0, 0, LogicalWidth, StaffAreaBottom));
    drawStaves(context);
    drawClefs(context);
    drawKeyboard(context);
    painter.end();
    staticKey_ = key;
    haveStatic_ = true;
    ++staticRebuilds_;
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
    key.brace = state.mode == PaintMode::ListenNotes && state.staff.trebleShown &&
                state.staff.bassShown;
    ensureStaticLayer(clientSize, key, state);

    if (frame_.size() != staticLayer_.size()) {
        frame_ = QImage(staticLayer_.size(), QImage::Format_RGB32);
    }
    frame_.setDevicePixelRatio(devicePixelRatio);
    std::memcpy(frame_.bits(), staticLayer_.constBits(),
                static_cast<std::size_t>(staticLayer_.sizeInBytes()));

    QPainter painter(&frame_);
    painter.setRenderHint(QPainter::Antialiasing);
    installLogicalMapping(painter, clientSize);
    painter.setPen(QPen(Qt::black, 0)); // one device pixel, the outline of hollow heads
    painter.setBrush(QColor(CompositionBrush));
    PaintContext context{painter, cache_, state};
    const int expected = drawNotesForMode(context);
    if (state.mode == PaintMode::Record) {
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
    target.drawImage(QPointF(0, 0), frame_);
    target.restore();
    return expected;
}

} // namespace tessimo
