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
    QApplication app(argc, argv);
    CConverterApp theApp;
    const int handedOver =
        theApp.InitInstance(CommandLineFiles(app.arguments().mid(1), QDir::currentPath()));
    const int exitCode = theApp.ExitInstance();
    return handedOver != 0 ? handedOver : exitCode;
}
