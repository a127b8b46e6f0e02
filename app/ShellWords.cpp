#include "ShellWords.h"

#include <algorithm>

namespace {

bool isPlain(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           QStringLiteral("_@%+=:,./-").contains(c);
}

} // namespace

QString ShellWords::quote(const QString& word)
{
    if (!word.isEmpty() && std::all_of(word.begin(), word.end(), isPlain))
        return word;
    // Inside single quotes only a single quote is special: close, escape it, reopen.
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString ShellWords::line(const QString& program, const QStringList& arguments)
{
    QStringList words{quote(program)};
    for (const QString& argument : arguments)
        words += quote(argument);
    return words.join(QLatin1Char(' '));
}
