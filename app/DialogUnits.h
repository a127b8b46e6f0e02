#pragma once

#include <QRect>

class QFont;

// Converts dialog-template units to pixels from a dialog font, so that a window laid out in
// units grows with the font and the screen: x = units * width / 4, y = units * height / 8,
// where width is the font's average character width and height its line height.
class DialogUnits
{
public:
    // The base units of `font`.
    static DialogUnits fromFont(const QFont& font);
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    // Horizontal and vertical units in pixels, rounded to the nearest pixel.
    int x(int units) const;
    int y(int units) const;
    // A template rectangle in pixels.
    QRect rect(int left, int top, int width, int height) const;

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};
