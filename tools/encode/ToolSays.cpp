#include "ToolSays.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

void ToolSays::line(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

void ToolSays::discard(const QString& output, const QString& fault)
{
    if (QFileInfo(output).isFile() && QFile::remove(output))
        line(QStringLiteral("encode: %1; removed the output \"%2\"").arg(fault, output));
    else
        line(QStringLiteral("encode: %1").arg(fault));
}
