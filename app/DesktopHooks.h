#pragma once

#include "OpenInBrowser.h"

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The main window's ways out to the desktop, replaceable so that tests open no real dialog or
// folder. Threads: UI thread only.
struct DesktopHooks
{
    // The Add dialog: the chosen files, empty when cancelled.
    std::function<QStringList(QWidget* owner, const QString& filter)> openFiles;
    // The Browse dialog: the chosen folder, empty when cancelled.
    std::function<QString(QWidget* owner, const QString& title)> pickFolder;
    // Shows a folder to the user (Open, and the end of a batch).
    std::function<void(const QString& folder)> openFolder;
    // Opens the help pages (Help, and Codec Download where no downloader is installed).
    BrowserLaunchHooks browser = defaultBrowserLaunchHooks();

    // The desktop's own file dialogs and file manager.
    static DesktopHooks system();
};
