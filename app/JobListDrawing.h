#pragma once

#include <QList>
#include <QObject>

class CCellListCtrl;
class CProfileManager;
class JobModel;
class QModelIndex;

// Draws the job model in the main window's list control: a row's name, duration, target and
// check box, its state as the Status cell's text or progress bar, its pace or failure reason as
// that cell's tooltip; the tiled empty look while there are no rows. The user's clicks on
// check boxes go back into the model. Nothing is read back from a cell but the user's check.
// Threads: UI thread only (the model delivers the batch's changes there).
class JobListDrawing : public QObject
{
public:
    static constexpr int kCheckColumn = 0;
    static constexpr int kNameColumn = 1;
    static constexpr int kDurationColumn = 2;
    static constexpr int kTargetColumn = 3;
    static constexpr int kStatusColumn = 4;

    JobListDrawing(JobModel& model, CCellListCtrl* list, QObject* parent = nullptr);

    // Shows the tiled picture with no columns (the look of an empty list).
    void SetEmptyState();
    bool IsEmptyState() const { return m_emptyState; }
    // The column widths the user dragged the columns to, given to the columns whenever they
    // are made (empty: as laid out).
    void SetColumnWidths(const QList<int>& widths) { m_widths = widths; }

private:
    void CreateColumns();
    void onInserted(int row);
    void onRemoved(int row);
    void onChanged(int row, int changes);
    void onCellsChanged(const QModelIndex& first, const QModelIndex& last);
    void drawTarget(int row);

    JobModel& m_model;
    CCellListCtrl* m_list;
    bool m_emptyState = false;
    QList<int> m_widths;
};
