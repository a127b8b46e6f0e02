#pragma once

#include "BatchUser.h"

#include <QString>

class QWidget;

// The window's message boxes: fixed texts with a caption and an icon, owned by `owner`.
// Threads: UI thread only.
namespace MessageBoxes {

// Shows `text` with OK and waits until it is dismissed.
void show(QWidget* owner, const QString& text, const QString& caption, BatchUser::Icon icon);
// Asks `text` with Yes and No and the exclamation icon; true for Yes.
bool askYesNo(QWidget* owner, const QString& text, const QString& caption);

} // namespace MessageBoxes
