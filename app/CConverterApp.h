#pragma once

#include "CSkinEngine.h"

// The application object: brings the skin up, runs the main window modally, shuts down.
// Threads: UI thread only; the skin engine it owns is handed to the batch worker for its
// per-thread start.
class CConverterApp
{
public:
    // Runs the whole life of the user interface; returns 0 (no message loop of its own).
    int InitInstance();
    // Shuts the skin down; returns the process exit code.
    int ExitInstance();

    CSkinEngine& skin() { return m_skin; }

private:
    CSkinEngine m_skin;
};
