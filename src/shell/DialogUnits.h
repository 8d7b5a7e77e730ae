// Conversion of dialog units (a quarter of the font's average character width across, an
// eighth of its height down) into pixels, so dialogs laid out in those units scale with the
// font. User-interface thread only.
#pragma once

#include <QFontMetrics>
#include <QRect>

namespace tessimo {

class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& metrics)
        : m_baseX(metrics.averageCharWidth()), m_baseY(metrics.height()) {}

    int x(int units) const { return (units * m_baseX + 2) / 4; }
    int y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(width), y(height)};
    }

private:
    int m_baseX;
    int m_baseY;
};

} // namespace tessimo
