#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures, looked up by their resource numbers (bitmaps 130, 152-158, 164,
// 166-172, 193, 195; icons 128, 190-192). Threads: UI thread (QPixmap).
namespace ResourceImages {

// The resource path of picture `id`; empty when the program has no such picture.
QString path(int id);

// Picture `id` drawn at its own size; a null pixmap when there is none.
QPixmap bitmap(int id);

// Icon `id` (the program's icon carries several sizes); a null icon when there is none.
QIcon icon(int id);

} // namespace ResourceImages
