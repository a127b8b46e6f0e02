#include "Console.h"

#include <io.h>
#include <stdio.h>
#include <windows.h>

namespace {

// The console runs the handler on a thread of its own: it only sets the event.
HANDLE g_interrupted = nullptr;

BOOL WINAPI onConsoleControl(DWORD type)
{
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        return FALSE;
    if (g_interrupted)
        SetEvent(g_interrupted);
    return TRUE;
}

} // namespace

void Console::catchInterrupt()
{
    // Auto-reset: each interrupt is reported once. The encoder tool is started without a
    // console window of its own and so never sees the key.
    g_interrupted = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

bool Console::waitForInterrupt(int milliseconds)
{
    if (!g_interrupted) {
        Sleep(DWORD(milliseconds));
        return false;
    }
    return WaitForSingleObject(g_interrupted, DWORD(milliseconds)) == WAIT_OBJECT_0;
}

bool Console::standardOutputIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}

int Console::terminalWidth()
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
    return 80;
}
