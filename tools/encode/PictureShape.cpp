#include "PictureShape.h"

#include <cmath>

namespace {

// Shapes closer than this share a flag without bands.
constexpr double kTolerance = 0.02;

int even(double value)
{
    return std::max(2, int(std::lround(value / 2.0)) * 2);
}

} // namespace

PictureShape::Fit PictureShape::forTarget(const QString& targetIn, double source,
                                          const QString& userAspectIn)
{
    Fit fit;
    const QString target = targetIn.trimmed().toLower();
    const bool pal = target.startsWith(QLatin1String("pal-"));
    const QString kind = target.section(QLatin1Char('-'), -1);
    bool wideFlag = true;
    if (kind == QLatin1String("dvd")) {
        fit.frameWidth = 720;
    } else if (kind == QLatin1String("svcd")) {
        fit.frameWidth = 480;
    } else if (kind == QLatin1String("vcd")) {
        fit.frameWidth = 352;
        wideFlag = false; // MPEG-1 on a VCD is always shown at 4:3
    } else {
        return fit;
    }
    if (kind == QLatin1String("vcd"))
        fit.frameHeight = pal ? 288 : 240;
    else
        fit.frameHeight = pal ? 576 : 480;

    const QString user = userAspectIn.trimmed();
    const bool chooseHere = user.isEmpty() ||
                            user.compare(QLatin1String("Auto"), Qt::CaseInsensitive) == 0 ||
                            user == QLatin1String("4:3");
    if (!chooseHere || source <= 0)
        return fit;

    // Between 4:3 and 16:9 the nearer one, by ratio.
    const double wide = 16.0 / 9.0, narrow = 4.0 / 3.0;
    const bool useWide = wideFlag && source >= std::sqrt(wide * narrow);
    const double shown = useWide ? wide : narrow;
    fit.applies = true;
    fit.aspect = useWide ? QStringLiteral("16:9") : QStringLiteral("4:3");
    fit.pictureWidth = fit.frameWidth;
    fit.pictureHeight = fit.frameHeight;
    if (std::fabs(source / shown - 1.0) > kTolerance) {
        if (source > shown)
            fit.pictureHeight = even(fit.frameHeight * shown / source);
        else
            fit.pictureWidth = even(fit.frameWidth * source / shown);
    }
    const QString picture = QStringLiteral("%1:1").arg(source, 0, 'f', 2);
    if (fit.pictureWidth == fit.frameWidth && fit.pictureHeight == fit.frameHeight)
        fit.note = QStringLiteral("encode: the %1 picture is flagged %2 to keep its shape")
                       .arg(picture, fit.aspect);
    else
        fit.note =
            QStringLiteral("encode: the %1 picture keeps its shape: scaled to %2x%3 inside "
                           "the %4x%5 frame shown at %6, the rest black (%7)")
                .arg(picture)
                .arg(fit.pictureWidth)
                .arg(fit.pictureHeight)
                .arg(fit.frameWidth)
                .arg(fit.frameHeight)
                .arg(fit.aspect, fit.pictureHeight < fit.frameHeight ? QLatin1String("letterbox")
                                                                     : QLatin1String("pillarbox"));
    return fit;
}
