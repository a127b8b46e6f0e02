#include "FilterChainBuilder.h"

namespace {

bool pixels(const QString& text, int& out)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 16384)
        return false;
    out = value;
    return true;
}

} // namespace

bool FilterChainBuilder::setCrop(Side side, const QString& text)
{
    return pixels(text, m_crop[side]);
}

bool FilterChainBuilder::setPad(Side side, const QString& text)
{
    return pixels(text, m_pad[side]);
}

bool FilterChainBuilder::setPadColor(const QString& text)
{
    QString hex = text.trimmed();
    if (hex.startsWith(QLatin1Char('#')))
        hex.remove(0, 1);
    else if (hex.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        hex.remove(0, 2);
    bool ok = false;
    hex.toUInt(&ok, 16);
    if (!ok || hex.size() != 6)
        return false;
    m_padColor = QStringLiteral("0x") + hex.toUpper();
    return true;
}

void FilterChainBuilder::setSize(int width, int height)
{
    m_width = width;
    m_height = height;
}

void FilterChainBuilder::setFit(int width, int height, int frameWidth, int frameHeight)
{
    m_fit[0] = width;
    m_fit[1] = height;
    m_fit[2] = frameWidth;
    m_fit[3] = frameHeight;
}

bool FilterChainBuilder::setVolume(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0)
        return false;
    m_volume = value == 256 ? QString() : QStringLiteral("volume=%1/256").arg(value);
    return true;
}

bool FilterChainBuilder::setAudioSync(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return false;
    m_async = value > 0 ? value : 0;
    return true;
}

bool FilterChainBuilder::hasCrop() const
{
    return m_crop[0] || m_crop[1] || m_crop[2] || m_crop[3];
}

bool FilterChainBuilder::hasPad() const
{
    return m_pad[0] || m_pad[1] || m_pad[2] || m_pad[3];
}

QString FilterChainBuilder::video() const
{
    QStringList chain;
    if (m_loopRate > 0)
        chain << QStringLiteral("loop=loop=-1:size=1") << QStringLiteral("fps=%1").arg(m_loopRate);
    if (m_deinterlace)
        chain << QLatin1String(m_deinterlace);
    if (hasCrop())
        chain << QStringLiteral("crop=iw-%1:ih-%2:%3:%4")
                     .arg(m_crop[Left] + m_crop[Right])
                     .arg(m_crop[Top] + m_crop[Bottom])
                     .arg(m_crop[Left])
                     .arg(m_crop[Top]);
    if (!m_burnIn.isEmpty())
        chain << m_burnIn;
    if (sizeInChain() && m_width > 0)
        chain << QStringLiteral("scale=%1:%2").arg(m_width).arg(m_height);
    if (hasPad())
        chain << QStringLiteral("pad=iw+%1:ih+%2:%3:%4:color=%5")
                     .arg(m_pad[Left] + m_pad[Right])
                     .arg(m_pad[Top] + m_pad[Bottom])
                     .arg(m_pad[Left])
                     .arg(m_pad[Top])
                     .arg(m_padColor);
    if (m_fit[0] > 0)
        chain << QStringLiteral("scale=%1:%2,pad=%3:%4:-1:-1:color=black")
                     .arg(m_fit[0])
                     .arg(m_fit[1])
                     .arg(m_fit[2])
                     .arg(m_fit[3]);
    return chain.join(QLatin1Char(','));
}

QString FilterChainBuilder::audio() const
{
    QStringList chain;
    if (!m_volume.isEmpty())
        chain << m_volume;
    if (m_async > 0)
        chain << QStringLiteral("aresample=async=%1:first_pts=0").arg(m_async);
    return chain.join(QLatin1Char(','));
}
