#include "TransparentColor.h"

#include <QImage>

QPixmap withTransparentColor(const QPixmap& picture, const QColor& key)
{
    if (picture.isNull() || !key.isValid())
        return picture;
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb opaqueKey = key.rgb() | 0xff000000u;
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == opaqueKey)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(image);
}
