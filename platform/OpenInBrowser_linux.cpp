#include "OpenInBrowser.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QTextStream>
#include <QUrl>

// The shell's open verb becomes the desktop's URL opener; the registry look-up of the .htm
// handler becomes the default browser's desktop entry (the handler of text/html).
namespace {

using KeyGroup = QHash<QString, QString>;

QStringList dirsFrom(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QStringList configDirs()
{
    return dirsFrom("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config")) +
           dirsFrom("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

QStringList dataDirs()
{
    return dirsFrom("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share")) +
           dirsFrom("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

// The keys of one group of a key file (desktop entry, mimeapps.list); the first value wins.
KeyGroup readGroup(const QString& file, const QString& group)
{
    KeyGroup keys;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    QTextStream stream(&in);
    bool inGroup = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inGroup = line.mid(1, line.size() - 2) == group;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inGroup || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!keys.contains(key))
            keys.insert(key, line.mid(eq + 1).trimmed());
    }
    return keys;
}

// Desktop entry ids that handle text/html, the user's defaults first.
QStringList htmlHandlers()
{
    QStringList lists;
    for (const QString& dir : configDirs())
        lists << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir : dataDirs())
        lists << dir + QStringLiteral("/applications/mimeapps.list");

    QStringList ids;
    for (const char* group : {"Default Applications", "Added Associations"}) {
        for (const QString& list : lists)
            ids << readGroup(list, QLatin1String(group))
                       .value(QStringLiteral("text/html"))
                       .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    for (const QString& dir : dataDirs())
        ids << readGroup(dir + QStringLiteral("/applications/mimeinfo.cache"),
                         QStringLiteral("MIME Cache"))
                   .value(QStringLiteral("text/html"))
                   .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return ids;
}

QString findDesktopFile(const QString& id)
{
    if (id.contains(QLatin1Char('/')))
        return QString();
    QString nested = id;
    nested.replace(QLatin1Char('-'), QLatin1Char('/'));
    for (const QString& dir : dataDirs()) {
        for (const QString& name : {id, nested}) {
            const QString file = dir + QStringLiteral("/applications/") + name;
            if (QFileInfo(file).isFile())
                return file;
        }
    }
    return QString();
}

// The string-level escapes of a key file value.
QString unescapeValue(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar c = value[++i];
        if (c == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (c == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (c == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (c == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else
            out += QLatin1Char('\\') + QString(c);
    }
    return out;
}

// Cuts the command before the address placeholder: at the opening quote of a quoted one
// ("%u"), else at a bare one; without a placeholder the whole command is kept.
QString cutAtPlaceholder(const QString& exec)
{
    qsizetype quoted = -1;
    qsizetype bare = -1;
    for (qsizetype i = 0; i + 1 < exec.size(); ++i) {
        if (exec[i] != QLatin1Char('%'))
            continue;
        const QChar code = exec[i + 1];
        if (code == QLatin1Char('%')) {
            ++i;
            continue;
        }
        if (!QStringLiteral("uUfF").contains(code))
            continue;
        if (bare < 0)
            bare = i;
        if (quoted < 0 && i > 0 && exec[i - 1] == QLatin1Char('"') && i + 2 < exec.size() &&
            exec[i + 2] == QLatin1Char('"'))
            quoted = i - 1;
    }
    if (quoted >= 0)
        return exec.left(quoted);
    if (bare >= 0)
        return exec.left(bare);
    return exec;
}

// Splits an Exec command into arguments by the desktop entry quoting rules; the remaining
// field codes are expanded (%%, %c, %k) or dropped.
QStringList splitExec(const QString& text, const KeyGroup& entry, const QString& file)
{
    QStringList args;
    QString current;
    bool inArg = false;
    bool inQuote = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuote) {
            if (c == QLatin1Char('\\') && i + 1 < text.size())
                current += text[++i];
            else if (c == QLatin1Char('"'))
                inQuote = false;
            else
                current += c;
        } else if (c.isSpace()) {
            if (inArg)
                args << current;
            current.clear();
            inArg = false;
        } else if (c == QLatin1Char('"')) {
            inQuote = inArg = true;
        } else if (c == QLatin1Char('%') && i + 1 < text.size()) {
            const QChar code = text[++i];
            if (code == QLatin1Char('%'))
                current += QLatin1Char('%');
            else if (code == QLatin1Char('c'))
                current += entry.value(QStringLiteral("Name"));
            else if (code == QLatin1Char('k'))
                current += file;
            inArg = inArg || code == QLatin1Char('%') || code == QLatin1Char('c') ||
                    code == QLatin1Char('k');
        } else {
            current += c;
            inArg = true;
        }
    }
    if (inArg)
        args << current;
    return args;
}

int launchDefaultBrowser(const QString& address, int show, const BrowserLaunchHooks& hooks,
                         int firstResult)
{
    for (const QString& id : htmlHandlers()) {
        const QString file = findDesktopFile(id);
        if (file.isEmpty())
            continue;
        const KeyGroup entry = readGroup(file, QStringLiteral("Desktop Entry"));
        if (entry.value(QStringLiteral("Hidden")) == QLatin1String("true"))
            continue;
        const QString exec = unescapeValue(entry.value(QStringLiteral("Exec")));
        QStringList args = splitExec(cutAtPlaceholder(exec), entry, file);
        if (args.isEmpty())
            continue;
        const QString program = args.takeFirst();
        args << address;
        return hooks.start(program, args, show);
    }
    return firstResult;
}

} // namespace

BrowserLaunchHooks defaultBrowserLaunchHooks()
{
    BrowserLaunchHooks hooks;
    hooks.openWithDesktop = [](const QString& address, int) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return kLaunchNoAssociation;
        return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode)) ? kLaunchSucceeded
                                                                            : kLaunchNoAssociation;
    };
    hooks.start = [](const QString& program, const QStringList& arguments, int) {
        return QProcess::startDetached(program, arguments) ? kLaunchSucceeded : kLaunchFileNotFound;
    };
    return hooks;
}

int OpenInBrowser(const QString& address, int show)
{
    return OpenInBrowser(address, show, defaultBrowserLaunchHooks());
}

int OpenInBrowser(const QString& address, int show, const BrowserLaunchHooks& hooks)
{
    // A local file travels as a file URL, so blanks, quotes and percent signs survive; an
    // address that would read as a browser option is refused.
    QString target = address;
    if (QDir::isAbsolutePath(address) && !address.contains(QStringLiteral("://")))
        target = QUrl::fromLocalFile(address).toString(QUrl::FullyEncoded);
    if (target.isEmpty() || target.startsWith(QLatin1Char('-')))
        return kLaunchFileNotFound;

    const int result = hooks.openWithDesktop(target, show);
    if (result > 32)
        return result;
    return launchDefaultBrowser(target, show, hooks, result);
}
