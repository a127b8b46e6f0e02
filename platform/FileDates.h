#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// File modification times as the file system keeps them, never through local time: reading
// local time takes the C library's time zone lock, which the window's thread takes too, so a
// batch worker works with file times only this way.
namespace FileDates {

// The last modification of `path` (following links) in nanoseconds since the epoch; none when
// the file cannot be read.
std::optional<qint64> modified(const QString& path);

// Gives `target` the modification time of `source`; false when either cannot be read or set.
// Neither file's contents change.
bool copyModified(const QString& source, const QString& target);

} // namespace FileDates
