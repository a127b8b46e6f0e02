#include "TargetNorm.h"

#include <cmath>

namespace {

bool near(double a, double b)
{
    return std::fabs(a - b) < 0.01;
}

QString normForRate(double fps)
{
    if (near(fps, 25) || near(fps, 50))
        return QStringLiteral("pal-");
    if (near(fps, 24000.0 / 1001))
        return QStringLiteral("film-");
    return QStringLiteral("ntsc-");
}

} // namespace

QString TargetNorm::modernRate(const QString& legacy)
{
    const QString r = legacy.trimmed();
    if (r == QLatin1String("23.97") || r == QLatin1String("23.976"))
        return QStringLiteral("24000/1001");
    if (r == QLatin1String("29.97"))
        return QStringLiteral("30000/1001");
    if (r == QLatin1String("59.94"))
        return QStringLiteral("60000/1001");
    return r;
}

double TargetNorm::rateValue(const QString& rateIn)
{
    const QString rate = modernRate(rateIn).toLower();
    if (rate == QLatin1String("pal") || rate == QLatin1String("qpal") ||
        rate == QLatin1String("spal"))
        return 25;
    if (rate == QLatin1String("ntsc") || rate == QLatin1String("qntsc") ||
        rate == QLatin1String("sntsc"))
        return 30000.0 / 1001;
    if (rate == QLatin1String("film") || rate == QLatin1String("ntsc-film"))
        return 24000.0 / 1001;
    const qsizetype slash = rate.indexOf(QLatin1Char('/'));
    bool okNum = false, okDen = true;
    const double num = rate.left(slash < 0 ? rate.size() : slash).toDouble(&okNum);
    const double den = slash < 0 ? 1.0 : rate.mid(slash + 1).toDouble(&okDen);
    if (!okNum || !okDen || den <= 0 || num <= 0)
        return 0;
    return num / den;
}

QString TargetNorm::prefixedTarget(const QString& targetIn, const QString& rate,
                                   const QString& tvStandard, double inputRate)
{
    const QString target = targetIn.trimmed().toLower();
    for (const char* prefix : {"pal-", "ntsc-", "film-"}) {
        if (target.startsWith(QLatin1String(prefix)))
            return target;
    }
    const double requested = rateValue(rate);
    if (requested > 0)
        return normForRate(requested) + target;
    const QString standard = tvStandard.trimmed().toUpper();
    if (standard == QLatin1String("PAL") || standard == QLatin1String("SECAM"))
        return QStringLiteral("pal-") + target;
    if (standard == QLatin1String("NTSC"))
        return QStringLiteral("ntsc-") + target;
    return normForRate(inputRate) + target;
}
