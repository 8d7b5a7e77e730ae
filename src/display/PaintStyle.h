// Colours, pens and fonts of the main view's drawing. Pens and fonts are sized in the
// view's logical units (2000 x 3200 stretched over the client area).
// Everything here runs on the user-interface thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <QString>

#include <optional>

class QPainter;

namespace tessimo {

inline constexpr QRgb NoteGreen = qRgb(0, 255, 0);
inline constexpr QRgb WrongRed = qRgb(255, 0, 0);
inline constexpr QRgb HintBlue = qRgb(100, 100, 200);
inline constexpr QRgb InkBlack = qRgb(0, 0, 0);
inline constexpr QRgb HeadWhite = qRgb(255, 255, 255);
inline constexpr QRgb SelectedWhiteKey = qRgb(255, 255, 168);
inline constexpr QRgb UnselectedWhiteKey = qRgb(255, 255, 188);
inline constexpr QRgb SelectedBlackKey = qRgb(0, 0, 0);
inline constexpr QRgb UnselectedBlackKey = qRgb(40, 40, 40);
inline constexpr QRgb CompositionBrush = qRgb(35, 170, 35);

// Logical pen widths.
inline constexpr int StaffPenWidth = 4;
inline constexpr int BarPenWidth = 2;
inline constexpr int KeyboardPenWidth = 3;

// A solid pen whose logical width is scaled by the horizontal factor of the painter's mapping,
// so that a line has the same thickness on screen whichever way it runs (the stretch of the
// logical space is anisotropic). Under the identity mapping the width is exactly logicalWidth.
QPen logicalPen(const QPainter& painter, QRgb colour, int logicalWidth);

// Draws the ellipse inscribed in rect as outlined with pen and filled with fill, by filling the
// outline's band instead of stroking it (stroking a wide pen around a curve costs several times
// more than filling). The pen's device width lies half outside, half inside the ellipse, as a
// stroke would. Pen and brush are restored.
void drawOutlinedEllipse(QPainter& painter, const QRectF& rect, const QPen& pen,
                         const QBrush& fill);

// A font sized like the classic "height and average character width" description: the text
// cell (ascent + descent) is cellHeight logical units and an average character is averageWidth
// units wide. The metrics are kept with the font because text is placed by its cell's top-left
// corner and measured often.
class CellFont {
public:
    CellFont() = default;
    CellFont(int cellHeight, int averageWidth);

    const QFont& font() const { return font_; }
    double ascent() const { return ascent_; }
    double cellHeight() const { return cellHeight_; }
    // Advance width of the text in logical units.
    double width(const QString& text) const;

    // The same font sized for drawing without the logical mapping, at kx and ky
    // device-independent pixels per logical unit, and its ascent in those pixels. Text drawn
    // this way goes through the glyph cache instead of being filled as outlines, which is much
    // faster and gives hinted, crisp glyphs. The last scale's font is kept.
    const QFont& scaledFont(double kx, double ky, double* ascent) const;

private:
    struct Scaled {
        double kx = 0;
        double ky = 0;
        QFont font;
        double ascent = 0;
    };
    mutable Scaled scaled_;
    QFont font_;
    std::optional<QFontMetricsF> metrics_;
    double ascent_ = 0;
    double cellHeight_ = 0;
};

// Draws text with its cell's top-left corner at (x, top) in the given colour; the pen (which
// Qt uses as the text colour) and the font are restored afterwards.
// Returns the logical rectangle of the text cell.
QRectF drawCellText(QPainter& painter, const CellFont& font, double x, double top,
                    const QString& text, QRgb colour);

} // namespace tessimo
