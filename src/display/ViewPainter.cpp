#include "display/ViewPainter.h"

#include "display/ViewSnapshot.h"
#include "game/CBrindelView.h"

namespace tessimo {

void ViewPainter::paint(QPainter& target, QSize clientSize, const CBrindelView& view) {
    const PaintFrame paintFrame = view.paintFrame();
    snapshotView(view, paintFrame, snapshot_);
    snapshot_.sayAgain = sayAgain_;
    snapshot_.quietPlease = quietPlease_;
    frame_.paint(target, clientSize, snapshot_);
}

} // namespace tessimo
