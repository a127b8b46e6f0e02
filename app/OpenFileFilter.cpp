#include "OpenFileFilter.h"

#include <QStringList>

namespace OpenFileFilter {

QString windowsText()
{
    return QStringLiteral(
        "All Files (*.*)|*.*|QuickTime (*.mov) | *.mov|VCD Video file (*.dat) | *.dat|Real Media "
        "File (*.rm;*.rmvb) | *.rm;*.rmvb|MP4 (*.mp4) | *.mp4|3GP (*.3gp) | *.3gp|mpg (*.mpg) | "
        "*.mpg;*.mpeg|Flash Video Format (*.flv) | *.flv|avi (*.avi) | *.avi|wmv (*.wmv)| "
        "*.wmv|asf (*.asf) | *.asf |JPEG (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp|Gif (*.gif)|*.gif||");
}

QString toQt(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                patterns << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
        if (description.isEmpty() || patterns.isEmpty())
            continue;
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace OpenFileFilter
