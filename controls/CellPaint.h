#pragma once

#include <QColor>
#include <QMetaType>
#include <QString>

// Everything the list's delegate needs to draw one cell, as plain values: the model fills it
// so that painting looks nothing up.
struct CellPaint
{
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool hasRecord = false; // false: a column added after the row; drawn as plain text
    bool rowEnabled = true;
    bool bold = false;
    QColor textColor; // invalid: the system window-text colour
    QColor backColor; // invalid: the system window colour
    int check = -1;
    bool progress = false;
    int percent = 0;
    bool showProgressText = true;
    QString progressText;       // the formatted percentage
    QStringList progressDetail; // what follows it where the cell has room, first kept longest
};

Q_DECLARE_METATYPE(CellPaint)
