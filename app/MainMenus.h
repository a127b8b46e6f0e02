#pragma once

#include <QHash>

class CPreviewPanel;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The main window's menu bar and the job list's pop-up menu. Each entry carries its command
// id (property "commandId"); entries of the two menus that run the same command are separate
// actions with their own ids. Threads: UI thread only.
struct MainMenus
{
    QMenuBar* bar = nullptr;
    QMenu* file = nullptr;
    QMenu* edit = nullptr;
    QMenu* popup = nullptr;
    QHash<int, QAction*> actions; // command id -> entry

    // Builds both menus, owned by `owner`; the preview's entries come later (the preview owns
    // them).
    static MainMenus build(QWidget* owner);
    // Appends the preview's Play, Pause and Stop entries to the pop-up, then Copy Command Line.
    void addPreviewEntries(const CPreviewPanel& preview);
    // The entry with command id `id`; null when there is none.
    QAction* action(int id) const { return actions.value(id); }
};
