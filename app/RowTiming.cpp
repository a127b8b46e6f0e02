#include "RowTiming.h"

#include "FormatHMS.h"

#include <cmath>

QString RowTiming::speedText() const
{
    if (!(speed > 0))
        return QString();
    return QString::number(speed, 'f', 1) + QChar(0x00D7);
}

QString RowTiming::leftText() const
{
    if (secondsLeft < 0)
        return QString();
    // Rounded up, so "00:00:00 left" is only shown when nothing is left.
    return FormatHMS((long long)std::ceil(secondsLeft)) + QStringLiteral(" left");
}

QString RowTiming::leftClock() const
{
    if (secondsLeft < 0)
        return QString();
    const long long s = (long long)std::ceil(secondsLeft);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString RowTiming::elapsedText() const
{
    return FormatHMS(std::llround(elapsed));
}

QString RowTiming::text() const
{
    const QString speedPart = speedText();
    if (finished)
        return QStringLiteral("Took ") + elapsedText() +
               (speedPart.isEmpty() ? QString() : QStringLiteral(" (") + speedPart + ')');
    const QString left = leftText();
    if (speedPart.isEmpty() || left.isEmpty())
        return speedPart;
    return speedPart + QStringLiteral(", ") + left;
}
