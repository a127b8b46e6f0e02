#include "CConverterApp.h"
#include "CommandLineFiles.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CConverterApp theApp;
    theApp.InitInstance(CommandLineFiles(app.arguments().mid(1), QDir::currentPath()));
    return theApp.ExitInstance();
}
