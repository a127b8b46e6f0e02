#pragma once

#include <QHash>
#include <QList>
#include <QObject>

class CCellListModel;
class QHeaderView;
class QWidget;

// How the job list's columns share its width: each column keeps the width it was laid out
// with or the user dragged it to; where the list is wider than laid out, the fitted columns
// first grow to show their header and their widest text whole, and the stretch column takes
// the rest. Threads: UI thread only.
class ListColumnWidths : public QObject
{
    Q_OBJECT
public:
    ListColumnWidths(QWidget* list, QHeaderView* header, const CCellListModel* model);

    // Column `column` keeps its width while the list is `laidOutWidth` wide and takes what is
    // left; -1 lets every column keep its width. Every other column's width now is its own.
    void setStretchColumn(int column, int laidOutWidth);
    int stretchColumn() const { return m_stretch; }
    // The columns that grow to their header and widest text when there is room.
    void setFitColumns(const QList<int>& columns);
    // Each column's own width (as laid out or dragged), in column order.
    QList<int> widths() const;
    // Gives the columns the widths `widths()` once gave; a list of another length is ignored.
    void setWidths(const QList<int>& widths);
    // A column was deleted: the later ones move down.
    void columnDeleted(int column);
    // Lays the columns out for the list's present width.
    void apply();

signals:
    // The user dragged a column's border.
    void userResized();

private:
    void onSectionResized(int column, int oldSize, int size);
    // The width that shows `column`'s header and every cell's text whole.
    int neededWidth(int column) const;

    QWidget* m_list;
    QHeaderView* m_header;
    const CCellListModel* m_model;
    int m_stretch = -1;
    int m_stretchBase = 0; // its width at m_laidOut
    int m_laidOut = 0;
    int m_slack = 0;       // what the list's width leaves beside its columns when laid out
    QHash<int, int> m_own; // column -> its own width
    QList<int> m_fit;
    bool m_applying = false;
};
