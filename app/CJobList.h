#pragma once

#include "BatchRows.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

class CCellListCtrl;
class CProfileManager;
class QComboBox;
class QItemSelection;
struct ConversionJob;
struct Profile;

// The job list of the main window: one Conversion job per row of the list control, the two
// looks of the list, admission, the row commands, and how the row selection, the Profile box
// and the parameter editor follow each other.
//
// The list control's model is the one record of the rows (order, check boxes, texts, and each
// row's job as its item data); this object owns the jobs themselves.
//
// Threads: the list control, the Profile box and the editor belong to the UI thread, which
// runs every command here. The batch worker reaches the rows only through BatchRows: it
// reads a copy of the row order, check boxes and job pointers that the UI thread derives from
// the model's signals (guarded by m_lock), so its reads never wait for the UI thread; its
// writes go to the list control, which queues them to the UI thread in order.
class CJobList : public QObject, public BatchRows
{
    Q_OBJECT
public:
    CJobList(CCellListCtrl* list, QComboBox* profileBox, CProfileManager& profiles,
             QObject* parent = nullptr);
    ~CJobList() override;

    // Shows the tiled picture with no columns (the look of an empty list).
    void SetEmptyState();
    bool IsEmptyState() const { return m_emptyState; }

    // Appends a probed `job` as a checked "Ready" row, giving it its own copy of the current
    // profile unless it brings one. The one way rows are added (the probe runs elsewhere).
    void Append(std::unique_ptr<ConversionJob> job);
    // Makes `row` the selected row and selects and focuses it in the list.
    void SelectRow(int row);

    void Remove();
    void RemoveAll();
    // Sets every row's check box (Check all) or clears it (Uncheck all).
    void SetAllChecks(bool checked);
    void Up();
    void Down();
    // The user picked entry `index` of the Profile box.
    void OnProfileChanged(int index);

    // While a batch runs the editor only shows (the worker reads the profiles); afterwards the
    // selected row's profile is editable again.
    void SetBatchRunning(bool running);

    int SelectedRow() const { return m_selectedRow; }
    QByteArray CurrentProfileName() const { return m_currentName; }
    void SetCurrentProfileName(const QByteArray& name) { m_currentName = name; }

    int rowCount() const override;
    bool isChecked(int row) const override;
    void setChecked(int row, bool checked) override;
    ConversionJob* job(int row) override;
    void setStatusText(int row, const QString& text) override;
    void setProgress(int row) override;
    void updateProgress(int row, int percent) override;
    void removeProgress(int row) override;
    void updateTiming(int row, const RowTiming& timing) override;
    void setFailureReason(int row, const QString& reason) override;

private:
    // What the worker may read of a row without asking the UI thread.
    struct RowView
    {
        ConversionJob* job = nullptr;
        bool checked = false;
    };

    void CreateColumns();
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // Re-reads rows first..last of the model into the worker's copy.
    void OnRowsChanged(int firstRow, int lastRow);
    void OnRowsInserted(int firstRow, int lastRow);
    void OnRowsRemoved(int firstRow, int lastRow);
    void Move(int to);
    // Deletes `row` with its job; the editor first lets go of the job's profile.
    void DeleteRow(int row);
    void ReleaseShown(const Profile* profile);
    void ShowJobProfile(ConversionJob& job);
    ConversionJob* jobAt(int row) const;

    CCellListCtrl* m_list;
    QComboBox* m_profileBox;
    CProfileManager& m_profiles;
    int m_selectedRow = -1;
    QByteArray m_currentName;
    bool m_emptyState = false;
    bool m_batchRunning = false;
    const Profile* m_shown = nullptr; // the job profile the editor shows, if any

    // Every row's job, in no order: the model holds the order.
    std::unordered_map<const ConversionJob*, std::unique_ptr<ConversionJob>> m_owned;
    mutable QMutex m_lock;       // guards m_view against the worker's reads
    std::vector<RowView> m_view; // derived from the model, row for row
};
