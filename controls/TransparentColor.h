#pragma once

#include <QColor>
#include <QPixmap>

// A copy of `picture` in which every opaque pixel of colour `key` is see-through, as the
// masks of the Windows image lists and bitmap buttons make them. An invalid key changes nothing.
QPixmap withTransparentColor(const QPixmap& picture, const QColor& key);
