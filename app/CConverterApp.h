#pragma once

#include "CSkinEngine.h"
#include "WriteLocations.h"

#include <QStringList>

// The application object: brings the skin up, runs the main window modally, shuts down.
// Threads: UI thread only; the skin engine it owns is handed to the batch worker for its
// per-thread start.
class CConverterApp
{
public:
    // Runs the whole life of the user interface, admitting `files` once the window is up;
    // returns 0 (no message loop of its own). When a window of this user runs already, hands
    // `files` to it instead and returns 0, or 1 when it does not answer.
    int InitInstance(const QStringList& files = {});
    // Shuts the skin down; returns the process exit code.
    int ExitInstance();

    CSkinEngine& skin() { return m_skin; }
    // Where this run writes; decided by InitInstance.
    const WriteLocations& writeLocations() const { return m_where; }

private:
    CSkinEngine m_skin;
    WriteLocations m_where;
};
