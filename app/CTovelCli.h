#pragma once

#include <QStringList>

// The terminal program: admits the files on its command line through the probe, converts them
// with the batch of the program and reports on the console. Reads profiles/ from the
// application folder and config.ini where WriteLocations::decide puts it, and writes neither;
// the trace goes where that decision says.
// Threads: Run occupies the main thread, which also takes the interrupts; the batch has its
// own worker.
class CTovelCli
{
public:
    enum ExitCode
    {
        AllCompleted = 0,
        RowFailed = 1,
        BadArguments = 2,
        Stopped = 130
    };

    // Runs the whole command for `arguments` (without the program's name); returns the exit
    // code. Needs a QCoreApplication, and Console::catchInterrupt() called first thing.
    int Run(const QStringList& arguments);
};
