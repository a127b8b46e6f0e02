#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Show commands passed through to the launch (the Windows shell's values; ignored elsewhere).
inline constexpr int kShowNormal = 1;
inline constexpr int kShow = 5;

// Launch results keep the Windows shell's meaning: above 32 is success; 2 the program was not
// found; 31 no application is associated (no browser could be found).
inline constexpr int kLaunchSucceeded = 33;
inline constexpr int kLaunchFileNotFound = 2;
inline constexpr int kLaunchNoAssociation = 31;

// The two ways out to the desktop, replaceable so that tests start nothing.
struct BrowserLaunchHooks
{
    // Hands the address to the desktop's URL opener; a launch result as above.
    std::function<int(const QString& address, int show)> openWithDesktop;
    // Starts `program` with `arguments` (never through a shell), detached; a launch result.
    std::function<int(const QString& program, const QStringList& arguments, int show)> start;
};

// The hooks that reach the real desktop.
BrowserLaunchHooks defaultBrowserLaunchHooks();

// Opens `address` (a web address, or an absolute local file) in the user's browser: the
// desktop's opener first, else the default browser's own command. Returns a launch result.
int OpenInBrowser(const QString& address, int show);

// As above, through the given hooks.
int OpenInBrowser(const QString& address, int show, const BrowserLaunchHooks& hooks);
