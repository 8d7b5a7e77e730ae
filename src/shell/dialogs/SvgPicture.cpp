#include "shell/dialogs/SvgPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace tessimo {

SvgPicture::SvgPicture(const QString& resource, QWidget* parent)
    : QWidget(parent), renderer_(resource), size_(renderer_.defaultSize()) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

double SvgPicture::aspectRatio() const {
    const QSizeF view = renderer_.viewBoxF().size();
    return view.height() > 0 ? view.width() / view.height() : 1.0;
}

void SvgPicture::setDisplayWidth(int width) {
    size_ = QSize(width, static_cast<int>(std::lround(width / aspectRatio())));
    setFixedSize(size_);
}

void SvgPicture::setDisplayHeight(int height) {
    size_ = QSize(static_cast<int>(std::lround(height * aspectRatio())), height);
    setFixedSize(size_);
}

void SvgPicture::setBuddy(QAbstractButton* button) {
    buddy_ = button;
    if (button != nullptr) {
        setToolTip(button->toolTip());
    }
}

QSize SvgPicture::sizeHint() const {
    return size_;
}

void SvgPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The drawing fills the widget; the layouts give it its own proportions.
    renderer_.render(&painter, QRectF(rect()));
}

void SvgPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (buddy_ != nullptr && buddy_->isEnabled() && rect().contains(event->position().toPoint())) {
        buddy_->setFocus(Qt::MouseFocusReason);
        buddy_->click();
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace tessimo
