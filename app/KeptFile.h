#pragma once

#include <QByteArray>
#include <QString>

// A small file of the program's own state, written whole and atomically (a temporary file
// renamed over the old one), and a damaged one moved out of the way. Threads: any; each call
// touches only the file named.
namespace KeptFile {

// Writes `bytes` in place of `path`; false when it could not (the old file then stays).
bool write(const QString& path, const QByteArray& bytes);

// Moves a damaged `path` aside as "<path>.damaged-<date>" and returns that name; empty when it
// could not be moved (it is then deleted, so that it is reported only once).
QString setAside(const QString& path);

} // namespace KeptFile
