#include "MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

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
         {{32771, "&Add..."},
          {32801, "Add &Folder..."},
          {32772, "&Remove"},
          {32773, "&Remove All"},
          {0, ""},
          {32774, "&Exit"}},
         menus.actions);
    menus.edit = addMenu(menus.bar, "    &Edit    ", "editMenu");
    fill(
        menus.edit,
        {{32775, "&Check All"}, {32776, "&UnCheck All"}, {0, ""}, {32777, "&Up"}, {32778, "&Down"}},
        menus.actions);
    QMenu* tools = addMenu(menus.bar, "    &Tools   ", "toolsMenu");
    fill(tools, {{32800, "&Codec Download"}, {32799, "&Preferences"}}, menus.actions);
    QMenu* help = addMenu(menus.bar, "    &Help    ", "helpMenu");
    fill(help, {{32781, "&Help"}, {32779, "&About"}}, menus.actions);

    menus.popup = new QMenu(owner);
    menus.popup->setObjectName(QStringLiteral("listPopupMenu"));
    fill(menus.popup, {{32788, "&Add"}, {32789, "&Remove"}, {32791, "&Remove All"}, {0, ""}},
         menus.actions);
    return menus;
}
