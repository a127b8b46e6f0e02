#include "FileDates.h"

#include <QDir>

#include <windows.h>

namespace {

// 100 ns intervals between 1601 and 1970, the two systems' epochs.
constexpr qint64 kEpochOffset = 116444736000000000LL;

std::wstring nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

std::optional<qint64> FileDates::modified(const QString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.isEmpty() ||
        !GetFileAttributesExW(nativePath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    const qint64 ticks =
        (qint64(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return (ticks - kEpochOffset) * 100;
}

bool FileDates::copyModified(const QString& source, const QString& target)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (source.isEmpty() || target.isEmpty() ||
        !GetFileAttributesExW(nativePath(source).c_str(), GetFileExInfoStandard, &data))
        return false;
    const HANDLE file = CreateFileW(nativePath(target).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool set = SetFileTime(file, nullptr, nullptr, &data.ftLastWriteTime) != 0;
    CloseHandle(file);
    return set;
}
