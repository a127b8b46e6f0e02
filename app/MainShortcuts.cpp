#include "MainShortcuts.h"

#include "CImageButton.h"
#include "MainDialogIds.h"
#include "MainMenus.h"

#include <QAction>

void MainShortcuts::install(const MainMenus& menus, CImageButton* encode, CImageButton* stop,
                            CImageButton* pause)
{
    if (QAction* exit = menus.action(MainDialogIds::kFileExit))
        exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // A disabled button ignores its key, as it ignores a click.
    encode->SetShortcut(QKeySequence(Qt::Key_F5));
    stop->SetShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
    pause->SetShortcut(QKeySequence(Qt::Key_F6));
}
