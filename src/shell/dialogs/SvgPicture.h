// A picture drawn from an SVG resource at paint time, so it stays sharp at any scale.
// A picture may stand for a button (a radio or check box without text beside it): clicking
// the picture then clicks that button. User-interface thread only.
#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QSvgRenderer>
#include <QWidget>

namespace tessimo {

class SvgPicture : public QWidget {
    Q_OBJECT
public:
    SvgPicture(const QString& resource, QWidget* parent = nullptr);

    // Fixes the shown size from one side, keeping the drawing's proportions.
    void setDisplayWidth(int width);
    void setDisplayHeight(int height);

    // Clicking the picture clicks button (when it is enabled).
    void setBuddy(QAbstractButton* button);

    // Width over height of the drawing.
    double aspectRatio() const;
    bool isValid() const { return renderer_.isValid(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer renderer_;
    QSize size_;
    QPointer<QAbstractButton> buddy_;
};

} // namespace tessimo
