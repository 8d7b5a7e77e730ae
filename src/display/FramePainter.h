// Composes the whole picture of the main view: background, staves, clefs and keyboard (kept
// as a cached layer that changes only with the size, the staff layout and the selection),
// then the notes of the current mode, the countdown and the score panel, into an off-screen
// buffer sized to the client area, which is copied onto the window in one transfer.
// One object per view, used on the user-interface thread only.
#pragma once

#include "display/FrameState.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "geometry/LogicalSpace.h"

#include <QImage>
#include <QSize>

#include <cstdint>

class QPainter;

namespace tessimo {

// Installs the logical mapping (2000 x 3200 stretched over the client area) on a painter.
void installLogicalMapping(QPainter& painter, QSize clientSize);

class FramePainter {
public:
    FramePainter() = default;
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    // Paints the view for a client area of clientSize (device-independent pixels) onto target,
    // whose origin is the client area's top-left corner and which has no transform of its own
    // (a widget's painter in paintEvent). The device pixel ratio is taken from target's device.
    // Returns the pitch of the first unanswered question note in Notes Dictation and Recognize,
    // -1 otherwise; the view stores it as the note the answers are checked against.
    int paint(QPainter& target, QSize clientSize, const FrameState& state);

    // Composes the frame into the off-screen buffer only (what paint does before its copy).
    // Returns as paint does. The buffer is frame().
    int compose(QSize clientSize, qreal devicePixelRatio, const FrameState& state);
    const QImage& frame() const { return frame_; }

    // How often the static layer has been rebuilt; for tests of the cache.
    int staticRebuilds() const { return staticRebuilds_; }

    PaintCache& cache() { return cache_; }

private:
    struct StaticKey {
        QSize deviceSize;
        qreal ratio = 0;
        StaffView staff;
        std::uint64_t selection = 0;
        bool brace = false;
        bool operator==(const StaticKey& other) const;
    };

    void ensureStaticLayer(QSize clientSize, const StaticKey& key, const FrameState& state);
    // Brings the frame buffer back to the static layer, wholly after a rebuild, else only where
    // the previous frame drew.
    void restoreFromStatic();

    PaintCache cache_;
    QImage staticLayer_;
    QImage frame_;
    StaticKey staticKey_;
    DirtyRects dirty_;
    bool haveStatic_ = false;
    bool frameStale_ = true;
    int staticRebuilds_ = 0;
};

} // namespace tessimo
