// A race planted on purpose whose reading side runs inside a queued call, under Qt's frames:
// the ThreadSanitizer step must report it, so that its suppressions of the uninstrumented Qt
// cannot hide a race of ours that a queued call or a timer runs into.

#include "ThreadHandOff.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <thread>

namespace {
int g_value = 0; // deliberately unguarded after the hand-off
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QObject owner;
    std::thread worker([&owner] {
        g_value = 1; // ordered before the call by the hand-off
        ThreadHandOff::post(&owner, [] {
            std::printf("%d\n", g_value);
            QCoreApplication::quit();
        });
        g_value = 2; // the race: nothing orders this against the call's read
    });
    const int result = app.exec();
    worker.join();
    return result;
}
