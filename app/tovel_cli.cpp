#include "CTovelCli.h"
#include "Console.h"
#include "MediaProbe.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    // Before any thread exists, so that every thread leaves Ctrl+C to the main thread.
    Console::catchInterrupt();
    // Files that are not media are the terminal's to report, in its own words.
    QuietMediaProbeLog();
    QCoreApplication app(argc, argv);
    return CTovelCli().Run(QCoreApplication::arguments().mid(1));
}
