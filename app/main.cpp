#include "CConverterApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Files named on the command line (a file manager's "Open with"), taken from where the
    // program was started; "--" ends the options, so a name may begin with '-'.
    QStringList files;
    bool options = true;
    for (const QString& argument : app.arguments().mid(1)) {
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            continue;
        files << QDir::fromNativeSeparators(QFileInfo(argument).absoluteFilePath());
    }
    CConverterApp theApp;
    theApp.InitInstance(files);
    return theApp.ExitInstance();
}
