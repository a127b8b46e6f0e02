#include "CommandLineFiles.h"

#include <QDir>
#include <QFileInfo>

QStringList CommandLineFiles(const QStringList& arguments, const QString& currentFolder,
                             QStringList* unknown)
{
    QStringList files;
    bool options = true;
    for (const QString& argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        const QString path = QDir::fromNativeSeparators(argument);
        const QString absolute = QDir::cleanPath(
            QDir::isRelativePath(path) ? currentFolder + QLatin1Char('/') + path : path);
        // "-clip.mp4" is a file a user means; only a name that is no file is an option.
        if (options && argument.size() > 1 && argument.startsWith(QLatin1Char('-')) &&
            !QFileInfo::exists(absolute)) {
            if (unknown)
                *unknown << argument;
            continue;
        }
        files << absolute;
    }
    return files;
}

bool CommandLineAsksHelp(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return true;
    }
    return false;
}

QString CommandLineUsage()
{
    return QStringLiteral(
        "Usage: tovel [OPTION]... [FILE]...\n"
        "Opens the converter's window with each FILE in its job list; a window already open\n"
        "takes the files instead.\n"
        "\n"
        "Options:\n"
        "  --help     show this text\n"
        "  --version  show the program's name and version\n"
        "  --         the arguments that follow are files, even when they begin with '-'\n"
        "\n"
        "tovel-cli converts files without the window.\n");
}
