#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QObject;
class QWidget;

// A row command of the job list's pop-up menu that also has a key of the window's own.
// UI thread only.
namespace PopupEntry {

// A new entry `text`, owned by `owner`, placed in `popup` before `before`, known by the
// "commandId" property and object name "command<id>", and reached from anywhere in `window` by
// `key`, which the menu shows.
QAction* add(QMenu* popup, QAction* before, QWidget* window, const QString& text, int commandId,
             const QKeySequence& key, QObject* owner);

} // namespace PopupEntry
