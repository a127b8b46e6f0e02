#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// The record of one cell of CCellListCtrl. Owned by the list's model; UI thread only.
struct ListCellInfo
{
    int enabled = 1;        // row's first cell only: 0 greys the row and makes it ignore clicks
    int bold = 0;           // draw the text in a bold version of the list's font
    QString tooltip;        // text shown when a tooltip asks for this cell
    QColor textColor;       // invalid: the system window-text colour
    QColor backColor;       // invalid: the system window colour
    int progress = 0;       // the cell is a progress bar
    int percent = 0;        // progress value, 0..100
    QString progressFormat; // "%d" stands for the percent, "%%" for a percent sign; empty: "%d%%"
    int showProgressText = 1;
    QStringList progressDetail; // figures after the percentage, as far as the cell is wide
    int check = -1;             // -1 no check box, 0 unchecked, 1 checked
    void* userData = nullptr;   // row's first cell only: the owner's row record
};
