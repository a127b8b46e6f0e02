#include "DesktopHooks.h"

#include <QFileDialog>
#include <QUrl>

DesktopHooks DesktopHooks::system()
{
    DesktopHooks hooks;
    hooks.openFiles = [](QWidget* owner, const QString& filter) {
        return QFileDialog::getOpenFileNames(owner, QStringLiteral("Open"), QString(), filter,
                                             nullptr, QFileDialog::HideNameFilterDetails);
    };
    hooks.pickFolder = [](QWidget* owner, const QString& title) {
        return QFileDialog::getExistingDirectory(owner, title);
    };
    hooks.openFolder = [](const QString& folder) {
        if (folder.isEmpty())
            return;
        // The desktop opens a folder in its file manager; a missing one fails quietly.
        defaultBrowserLaunchHooks().openWithDesktop(QUrl::fromLocalFile(folder).toString(),
                                                    kShowNormal);
    };
    return hooks;
}
