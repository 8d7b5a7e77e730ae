// Up and down arrows that step the integer in a buddy line edit within a range, as a spin
// button bound to an edit does: the edit still accepts any text typed into it, while the
// arrows (and the Up and Down keys in the edit) keep the number they set within the range.
// User-interface thread only.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace tessimo {

class SpinArrows : public QWidget {
    Q_OBJECT
public:
    SpinArrows(QLineEdit* buddy, QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    // Sets the position and shows it in the buddy.
    void setPosition(int position);
    int position() const { return position_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Moves by steps from the buddy's number (or the last position when the buddy holds no
    // integer), within the range, and shows the result in the buddy.
    void stepBy(int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

} // namespace tessimo
