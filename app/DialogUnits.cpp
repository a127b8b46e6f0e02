#include "DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

namespace {

// Rounds units * base / divisor to the nearest whole number, as a 64-bit intermediate.
int scale(int units, int base, int divisor)
{
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

} // namespace

DialogUnits DialogUnits::fromFont(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The average over both alphabets, rounded as dialog managers do.
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int width = (alphabet / 26 + 1) / 2;
    return DialogUnits(width > 0 ? width : 1, metrics.height() > 0 ? metrics.height() : 1);
}

int DialogUnits::x(int units) const
{
    return scale(units, m_baseX, 4);
}

int DialogUnits::y(int units) const
{
    return scale(units, m_baseY, 8);
}

QRect DialogUnits::rect(int left, int top, int width, int height) const
{
    return QRect(x(left), y(top), x(width), y(height));
}
