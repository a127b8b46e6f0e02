#pragma once

#include "OpenInBrowser.h"

#include <QString>

// The Help command: the help pages are the folder help/ beside the program.
namespace HelpCommand {

// The page Help opens: help/introduction.htm in the application folder.
QString TopicPath();

// Opens the page in the user's browser through `hooks`; the result is not used (a missing
// page is the browser's to report).
void Show(const BrowserLaunchHooks& hooks = defaultBrowserLaunchHooks());

// The help page's section on the codec packages of the system, as a file address.
QString CodecsAddress();

// Codec Download: starts the separate codec downloader where one is installed; elsewhere
// (a desktop whose codecs come from its own packages) opens CodecsAddress() through `hooks`.
void CodecDownload(const BrowserLaunchHooks& hooks = defaultBrowserLaunchHooks());

} // namespace HelpCommand
