#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Converts dialog units to pixels from a font's average character width and height, so a
// template scales with the font the way the platform's dialogs do. stretchX widens the
// horizontal unit for fonts whose captions run wider than that average suggests.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font, double stretchX = 1.0);

    // The width of a horizontal extent in pixels, before rounding.
    double exactPixelsX(int units) const;

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int cx, int cy) const;
    QSize toPixels(int cx, int cy) const;

private:
    int m_baseX;
    int m_baseY;
    double m_stretchX;
};
