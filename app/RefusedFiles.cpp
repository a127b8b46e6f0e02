#include "RefusedFiles.h"

void RefusedFiles::add(const QString& path)
{
    m_names << path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString RefusedFiles::text() const
{
    if (m_names.size() == 1)
        return QStringLiteral("The file \"") + m_names.front() +
               QStringLiteral("\" can not be decoded.");
    QString text = QStringLiteral("These %1 files can not be decoded:\n").arg(m_names.size());
    for (qsizetype i = 0; i < m_names.size() && i < kListed; ++i)
        text += QStringLiteral("\n\"") + m_names[i] + QLatin1Char('"');
    if (m_names.size() > kListed)
        text += QStringLiteral("\nand %1 more.").arg(m_names.size() - kListed);
    return text;
}
