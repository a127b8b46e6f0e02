#include "TrustingCatalogue.h"

#include <QFileInfo>

QString TrustingCatalogue::muxerForFile(const QString& fileName) const
{
    return QFileInfo(fileName).suffix().toLower();
}

bool TrustingCatalogue::parseFrameSize(const QString& text, int& width, int& height) const
{
    const QStringList parts = text.trimmed().split(QLatin1Char('x'));
    bool okW = false, okH = false;
    if (parts.size() != 2)
        return false;
    const int w = parts[0].toInt(&okW);
    const int h = parts[1].toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0)
        return false;
    width = w;
    height = h;
    return true;
}

bool TrustingCatalogue::parseDuration(const QString& text, double& seconds) const
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok)
        seconds = value;
    return ok;
}
