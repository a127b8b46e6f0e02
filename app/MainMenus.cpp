#include "MainMenus.h"

#include "CPreviewPanel.h"
#include "MainDialogIds.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

namespace Id = MainDialogIds;

struct Entry
{
    int id; // 0 for a separator
    const char* text;
};

void fill(QMenu* menu, std::initializer_list<Entry> entries, QHash<int, QAction*>& actions)
{
    for (const Entry& entry : entries) {
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromLatin1(entry.text));
        action->setProperty("commandId", entry.id);
        action->setObjectName(QStringLiteral("command%1").arg(entry.id));
        actions.insert(entry.id, action);
    }
}

QMenu* addMenu(QMenuBar* bar, const char* title, const char* name)
{
    QMenu* menu = bar->addMenu(QString::fromLatin1(title));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

MainMenus MainMenus::build(QWidget* owner)
{
    MainMenus menus;
    menus.bar = new QMenuBar(owner);
    menus.bar->setObjectName(QStringLiteral("menuBar"));
    menus.bar->setAccessibleName(QStringLiteral("Menu bar"));

    menus.file = addMenu(menus.bar, "    &File    ", "fileMenu");
    fill(menus.file,
         {{Id::kFileAdd, "&Add..."},
          {Id::kFileAddFolder, "Add &Folder..."},
          {Id::kFileWatchFolder, "&Watch Folder..."},
          {Id::kFileRemove, "&Remove"},
          {Id::kFileRemoveAll, "&Remove All"},
          {0, ""},
          {Id::kFileExit, "&Exit"}},
         menus.actions);
    menus.edit = addMenu(menus.bar, "    &Edit    ", "editMenu");
    fill(menus.edit,
         {{Id::kCheckAll, "&Check All"},
          {Id::kUncheckAll, "&UnCheck All"},
          {0, ""},
          {Id::kUp, "&Up"},
          {Id::kDown, "&Down"}},
         menus.actions);
    QMenu* tools = addMenu(menus.bar, "    &Tools   ", "toolsMenu");
    fill(tools, {{Id::kCodecDownload, "&Codec Download"}, {Id::kPreferences, "&Preferences"}},
         menus.actions);
    QMenu* help = addMenu(menus.bar, "    &Help    ", "helpMenu");
    fill(help, {{Id::kHelp, "&Help"}, {Id::kAbout, "&About"}}, menus.actions);

    menus.popup = new QMenu(owner);
    menus.popup->setObjectName(QStringLiteral("listPopupMenu"));
    fill(menus.popup,
         {{Id::kPopupAdd, "&Add"},
          {Id::kPopupRemove, "&Remove"},
          {Id::kPopupRemoveAll, "&Remove All"},
          {0, ""}},
         menus.actions);
    return menus;
}

void MainMenus::addPreviewEntries(const CPreviewPanel& preview)
{
    for (int id :
         {CPreviewPanel::kPlayCommand, CPreviewPanel::kPauseCommand, CPreviewPanel::kStopCommand}) {
        QAction* entry = preview.action(id);
        entry->setProperty("commandId", id);
        popup->addAction(entry);
        actions.insert(id, entry);
    }
    popup->addSeparator();
    QAction* copy = popup->addAction(QStringLiteral("Copy &Command Line"));
    copy->setProperty("commandId", Id::kCopyCommandLine);
    copy->setObjectName(QStringLiteral("command%1").arg(Id::kCopyCommandLine));
    actions.insert(Id::kCopyCommandLine, copy);
}
