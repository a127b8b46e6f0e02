#include "OutputNaming.h"

#include "PathLimits.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QChar kSeparator = QLatin1Char('/');

// The input's name up to its last '.'; a name without an extension (no '.', or only a leading
// one as in ".clip") is kept whole, so that "clip" converts to "clip.mp4".
QString baseName(const QString& input)
{
    const QString name = input.mid(input.lastIndexOf(kSeparator) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name;
    return name.left(dot);
}

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(kSeparator) ? folder + name : folder + kSeparator + name;
}

// A name may be taken when nothing of that name exists or it is an empty regular file.
// The whole size counts, so a 4 GiB file is not mistaken for an empty one, and a folder or a
// dangling link of that name is never written over.
bool isFree(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return info.isFile() && info.size() == 0;
}

} // namespace

QString OutputNaming::BuildOutputBase(const QString& input, const QString& folder)
{
    const QString base = baseName(input);
    if (base.isEmpty())
        return QString();
    return joined(folder, base);
}

QString OutputNaming::BuildOutputPath(const QString& input, const QString& folder,
                                      const QString& extension)
{
    const QString base = BuildOutputBase(input, folder);
    if (base.isEmpty())
        return QString();
    return base + QLatin1Char('.') + extension;
}

QString OutputNaming::FormOutputPath(const QString& input, const QString& folder,
                                     const QString& extension, bool overwrite, const Taken& taken)
{
    QString candidate = BuildOutputPath(input, folder, extension);
    if (candidate.isEmpty())
        return candidate;
    auto usable = [&](const QString& path) {
        return !(taken && taken(path)) && (overwrite || isFree(path));
    };
    const QString base = BuildOutputBase(input, folder);
    for (int n = 0; !usable(candidate); ++n)
        candidate = base + QLatin1Char('-') + QString::number(n) + QLatin1Char('.') + extension;
    return candidate;
}

bool OutputNaming::OutputPathFits(const QString& path)
{
    const QByteArray bytes = path.toLocal8Bit();
    if (bytes.size() > std::min(kMaxJobPathBytes, PathLimits::maxPathBytes()))
        return false;
    const int maxName = PathLimits::maxNameBytes();
    for (const QByteArray& name : bytes.split('/'))
        if (name.size() > maxName)
            return false;
    return true;
}

bool OutputNaming::OutputFolderFits(const QString& folder)
{
    return OutputPathFits(folder);
}
