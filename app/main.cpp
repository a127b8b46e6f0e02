#include "CConverterApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CConverterApp theApp;
    theApp.InitInstance();
    return theApp.ExitInstance();
}
