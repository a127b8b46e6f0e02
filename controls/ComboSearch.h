#pragma once

#include <QComboBox>
#include <QString>

// A drop-down's prefix search: the first entry after `start` that begins with `text`,
// ignoring case, wrapping round to the start (so entry `start` is tried last). Returns the
// entry's index, or -1 when none matches or the box is empty.
inline int FindStringPrefix(const QComboBox& box, const QString& text, int start = 0)
{
    const int count = box.count();
    if (count == 0)
        return -1;
    if (start < 0 || start >= count)
        start = count - 1;
    for (int step = 1; step <= count; ++step) {
        const int index = (start + step) % count;
        if (box.itemText(index).startsWith(text, Qt::CaseInsensitive))
            return index;
    }
    return -1;
}
