#include "DesktopNotifier.h"

// Windows has no freedesktop notification service; the window's own message box remains.
DesktopNotifier::~DesktopNotifier() = default;

bool DesktopNotifier::Notify(const QString&, const QString&, const QString&, const QString&,
                             const QString&)
{
    return false;
}
