#include "PopupEntry.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

QAction* PopupEntry::add(QMenu* popup, QAction* before, QWidget* window, const QString& text,
                         int commandId, const QKeySequence& key, QObject* owner)
{
    auto* entry = new QAction(text, owner);
    popup->insertAction(before, entry);
    entry->setProperty("commandId", commandId);
    entry->setObjectName(QStringLiteral("command%1").arg(commandId));
    entry->setShortcut(key);
    entry->setShortcutVisibleInContextMenu(true);
    window->addAction(entry);
    return entry;
}
