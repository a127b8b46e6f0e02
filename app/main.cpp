#include "CConverterApp.h"
#include "CommandLineFiles.h"
#include "ProgramVersion.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Before the application object: no display is needed to say which version this is.
    if (ProgramVersion::asked(argc, argv)) {
        std::printf("%s\n",
                    ProgramVersion::line(QStringLiteral("tovel")).toLocal8Bit().constData());
        return 0;
    }
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (CommandLineAsksHelp(arguments)) {
        std::printf("%s", CommandLineUsage().toLocal8Bit().constData());
        return 0;
    }
    QApplication app(argc, argv);
    CConverterApp theApp;
    QStringList unknown;
    const QStringList files =
        CommandLineFiles(app.arguments().mid(1), QDir::currentPath(), &unknown);
    for (const QString& option : unknown)
        std::fprintf(stderr, "tovel: \"%s\" is neither an option nor a file; see tovel --help\n",
                     option.toLocal8Bit().constData());
    const int handedOver = theApp.InitInstance(files);
    const int exitCode = theApp.ExitInstance();
    return handedOver != 0 ? handedOver : exitCode;
}
