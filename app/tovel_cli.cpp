#include "CTovelCli.h"
#include "Console.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    // Before any thread exists, so that every thread leaves Ctrl+C to the main thread.
    Console::catchInterrupt();
    QCoreApplication app(argc, argv);
    return CTovelCli().Run(QCoreApplication::arguments().mid(1));
}
