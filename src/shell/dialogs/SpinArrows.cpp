#include "shell/dialogs/SpinArrows.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace tessimo {

SpinArrows::SpinArrows(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), buddy_(buddy), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {up_, down_}) {
        b->setArrowType(b == up_ ? Qt::UpArrow : Qt::DownArrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus); // the edit takes the keys
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    up_->setAccessibleName(tr("Up"));
    down_->setAccessibleName(tr("Down"));
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
    buddy_->installEventFilter(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const int side = buddy_->sizeHint().height();
    setFixedSize(side * 2 / 3, side);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedWidth(side * 2 / 3);
    }
}

void SpinArrows::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void SpinArrows::setPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
    buddy_->setText(QString::number(position_));
}

void SpinArrows::stepBy(int steps) {
    bool ok = false;
    const int typed = buddy_->text().trimmed().toInt(&ok);
    const long long from = ok ? typed : position_;
    setPosition(static_cast<int>(
        std::clamp<long long>(from + steps, minimum_, maximum_))); // no overflow at INT_MAX
    buddy_->selectAll();
}

bool SpinArrows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            stepBy(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tessimo
