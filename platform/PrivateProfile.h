#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Private-profile (INI) files with the rules the settings and profile files rely on:
// section and key names match case-insensitively and the first match wins; blanks around
// keys and values are trimmed; a value in matching double or single quotes loses them;
// lines starting with ';' are comments; CRLF and LF files read alike; 8-bit text passes
// through unchanged. Every call reads the file afresh, so a changed file is seen at once;
// PrivateProfileText takes many values from one read.
namespace PrivateProfile {

// The value of `key` in `section`, at most size-1 bytes; `fallback` (cut the same way)
// when the file, the section or the key is missing. size <= 0 gives an empty value.
QByteArray readString(const QString& file, const QByteArray& section, const QByteArray& key,
                      const QByteArray& fallback, int size);

// As readString, but a key `file` lacks is read from `defaults` under the same rules (a
// packager's settings under the user's own); an empty `defaults` reads `file` alone.
QByteArray readLayered(const QString& file, const QString& defaults, const QByteArray& section,
                       const QByteArray& key, const QByteArray& fallback, int size);

// The key names of `section` in file order, as they fit a listing buffer of `size` bytes
// that holds each name with a NUL after it and one final NUL; a name that does not fit
// whole is cut, as the buffer would cut it.
QList<QByteArray> readKeys(const QString& file, const QByteArray& section, int size);

// Writes key=value: replaces the first matching key's line in place, else appends the key
// at the end of its section, else appends the section; creates the file when absent.
// Every other line stays byte for byte. Returns false when the file cannot be written.
bool writeString(const QString& file, const QByteArray& section, const QByteArray& key,
                 const QByteArray& value);

} // namespace PrivateProfile
