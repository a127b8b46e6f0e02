#pragma once

#include <QString>
#include <QStringList>

// Command lines a POSIX shell runs as written, for the user to paste: every word that holds
// anything but plain characters is single-quoted, so no file name expands, substitutes or
// splits. Pure functions; any thread.
namespace ShellWords {

// `word` as one shell word: as it is when plain, else in single quotes.
QString quote(const QString& word);

// `program` and `arguments` as one line of shell words.
QString line(const QString& program, const QStringList& arguments);

} // namespace ShellWords
