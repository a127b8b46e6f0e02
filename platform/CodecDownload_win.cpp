#include "CodecDownload.h"

#include <windows.h>

bool StartCodecDownload()
{
    // No folder in the name: the system searches the program's folder first, then the path.
    return WinExec("CodecDownload.exe", SW_SHOWNORMAL) > 31;
}
