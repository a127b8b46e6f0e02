// The loadable module that holds this tool's use of the FFmpeg libraries.
#include "LibavMediaLibrary.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT MediaLibrary* createMediaLibrary()
{
    return new LibavMediaLibrary;
}
