#pragma once

#include "ListCellInfo.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// The rows, cells and columns of CCellListCtrl. Each row keeps one cell record per column
// that existed when it was inserted; later columns have no record and show plain text.
// Threads: UI thread only (CCellListCtrl hands other threads' calls over).
class CCellListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role
    {
        CellPaintRole = Qt::UserRole + 1, // CellPaint of a cell
        HeaderImageRole                   // header item's image index, -1 none
    };

    explicit CCellListModel(QObject* parent = nullptr);

    // Qt's view interface.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Inserts a column (clamped to 0..count); returns its index.
    int addColumn(int column, const QString& title, Qt::Alignment alignment);
    // Removes a column; false when out of range.
    bool deleteColumn(int column);
    // Inserts a row with `text` in column 0 and default cell records; returns its index or -1.
    int addRow(int row, const QString& text);
    // Removes a row with its records; false when out of range.
    bool deleteRow(int row);
    // Moves row `from` with its records to index `to`, so views keep its selection; false when
    // either is out of range or they are equal.
    bool moveRow(int from, int to);

    // True when row and column are inside the list.
    bool contains(int row, int column) const;
    // The record of a cell; null when out of range or the column came after the row.
    ListCellInfo* cell(int row, int column);
    const ListCellInfo* cell(int row, int column) const;
    // The row's first record; null when out of range or the row has none.
    ListCellInfo* firstCell(int row);

    QString text(int row, int column) const;
    // Sets a cell's text; false when out of range.
    bool setText(int row, int column, const QString& text);
    // Tells the views that a cell changed.
    void cellChanged(int row, int column);

    Qt::Alignment columnAlignment(int column) const;
    // The progress text: "%d" becomes the percent and "%%" a percent sign; nothing else is
    // interpreted, so any format is safe.
    static QString formatPercent(const QString& format, int percent);

private:
    struct Column
    {
        QString title;
        Qt::Alignment alignment;
        int headerImage = -1;
    };
    struct Row
    {
        QStringList texts;               // one per current column
        std::vector<ListCellInfo> cells; // one per column at insertion
    };

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};
