#include "FileDates.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool statOf(const QString& path, struct stat& info)
{
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

} // namespace

std::optional<qint64> FileDates::modified(const QString& path)
{
    struct stat info
    {
    };
    if (!statOf(path, info))
        return std::nullopt;
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

bool FileDates::copyModified(const QString& source, const QString& target)
{
    struct stat info
    {
    };
    if (!statOf(source, info) || target.isEmpty())
        return false;
    const timespec times[2]{{0, UTIME_OMIT}, info.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(target).constData(), times, 0) == 0;
}
