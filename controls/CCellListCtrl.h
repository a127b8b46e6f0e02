#pragma once

#include <QPixmap>
#include <QStringList>
#include <QTableView>

#include <functional>

class CCellItemDelegate;
class CCellListModel;
class CXHeaderCtrl;
class ListColumnWidths;

// The job list: a report list whose cells are drawn by the control itself (plain text, check
// boxes, progress bars) under a CXHeaderCtrl with a check-all box; empty, it shows a tiled
// picture and no columns.
//
// Threads: the widget, its model and every cell record belong to the UI thread. SetProgress,
// UpdateProgress, RemoveProgress, SetItemText and SetCheck may be called from any thread: off
// the UI thread they are queued to it in call order and answer 1 at once. The getters may be
// called from any thread too; off the UI thread they wait for the UI thread's answer, so the
// UI thread must never wait for such a caller.
class CCellListCtrl : public QTableView
{
    Q_OBJECT
public:
    explicit CCellListCtrl(QWidget* parent = nullptr);
    ~CCellListCtrl() override;

    // Looks: the empty look (no header, no grid, `tile` repeated over the list) or the report
    // look (header, grid lines, full-row selection, no picture).
    void SetEmptyLook(const QPixmap& tile);
    void SetReportLook();
    bool IsEmptyLook() const { return m_emptyLook; }

    // Columns. Inserts a column with its title, alignment and width; returns its index.
    int InsertColumn(int column, const QString& title, Qt::Alignment alignment, int width);
    // Deletes a column; false when out of range.
    bool DeleteColumn(int column);
    // The header's item count.
    int GetColumnCount() const;
    // The header's image list, cut from a strip of `imageWidth`-wide images; `transparent`
    // pixels are see-through. A null strip removes it.
    void SetHeaderImageList(const QPixmap& strip, int imageWidth, const QColor& transparent);
    // Column `column` keeps its width while the list is `laidOutWidth` wide and takes every
    // pixel the list is wider; -1 lets every column keep its width. A drag of that column by
    // the user moves the width it keeps.
    void SetStretchColumn(int column, int laidOutWidth);
    int StretchColumn() const;
    // Columns that, where the list is wider than laid out, grow to show their header and their
    // widest text whole before the stretch column takes the rest.
    void SetFitColumns(const QList<int>& columns);
    // Each column's own width (as laid out or dragged by the user), and setting them back.
    QList<int> ColumnWidths() const;
    void SetColumnWidths(const QList<int>& widths);
    // A header item's image (-1 none); false / -1 when out of range.
    bool SetHeaderImage(int column, int image);
    int GetHeaderImage(int column) const;

    // Rows. Inserts a row with `text` in column 0 and default cells; returns its index or -1.
    int InsertItem(int row, const QString& text);
    // Deletes a row and its cell records; false when out of range.
    bool DeleteItem(int row);
    // Moves a row with its cells, data and selection to index `to`; false when out of range.
    bool MoveItem(int from, int to);
    int GetItemCount() const;

    // Cells. Each returns 0 (or -1 for getters) when row or column is out of range.
    int SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    // Sets a check box: 0 or 1, -1 removes it; then the header's check-all box follows.
    int SetCheck(int row, int column, int state);
    int GetCheck(int row, int column) const;
    // Makes a cell a progress bar at 0 percent; `format` uses "%d" for the percent ("%d%%"
    // when empty).
    int SetProgress(int row, int column, bool showText = true, const QString& format = QString());
    int UpdateProgress(int row, int column, int percent);
    // Turns a progress cell back into its text.
    int RemoveProgress(int row, int column);
    // Figures a progress cell shows after its percentage ("1.3×", "0:01:10"), as many as fit,
    // from the first. UI thread.
    int SetProgressDetail(int row, int column, const QStringList& detail);
    // Row look: disabled rows are greyed and ignore clicks on their cells.
    int SetRowEnabled(int row, bool enabled);
    int SetItemBold(int row, int column, bool bold);
    int SetItemColors(int row, int column, const QColor& text, const QColor& back);
    // Tooltip of a cell (shown cut to 80 characters).
    int SetItemToolTip(int row, int column, const QString& text);

    // The owner's record of a row (stored in its first cell; setting it is a change of the
    // row's first cell); null when out of range.
    void* GetItemData(int row) const;
    int SetItemData(int row, void* data);

    // The first selected row, -1 when none.
    int GetFirstSelectedItem() const;
    // Selects `row` alone and makes it the current row.
    void SelectItem(int row);
    // The selected rows, in ascending order.
    QList<int> SelectedItems() const;
    // Selects rows `first` to `last` alone and makes `first` the current row.
    void SelectItems(int first, int last);

    // Called once per drop with the dropped local files in order.
    void SetDropHandler(std::function<void(const QStringList& paths)> handler);

    CXHeaderCtrl* header() const { return m_header; }
    CCellListModel* cellModel() const { return m_model; }
    CCellItemDelegate* cellDelegate() const { return m_delegate; }

signals:
    // The user toggled a check box cell with the mouse.
    void checkboxClicked(int row, int column);
    // The user dragged a column's border.
    void columnWidthsChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Space toggles the current row's first check box, as a click on it does.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Keys move between rows as in a list: Home and End go to the first and last row.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool onUiThread() const;
    void onColumnClicked(int column);
    // Image 2 when every row of the column is checked, else 1; only for items with an image.
    void updateHeaderCheck(int column);
    void applyLook();
    // Toggles a check box cell as the user does; false when the cell has none or is disabled.
    bool toggleCheck(int row, int column);

    CCellListModel* m_model;
    CXHeaderCtrl* m_header;
    CCellItemDelegate* m_delegate;
    std::function<void(const QStringList&)> m_dropHandler;
    QPixmap m_tile;
    bool m_emptyLook = false;
    ListColumnWidths* m_columns;
    QList<int> m_fitColumns;
    bool m_refitPending = false;
};
