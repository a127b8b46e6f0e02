#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class CCellListCtrl;
class CProfileManager;
class JobModel;
class QComboBox;
class SharedProfileEdit;
struct ConversionJob;
struct Profile;

// What of the job list belongs to the main window: the row commands, the row selection, and
// how the selection, the Profile box and the parameter editor follow each other. Several rows
// may be selected: the Profile box, the editor and the row commands then act on all of them.
// The rows themselves are the job model's; the list control draws them (JobListDrawing).
// Threads: UI thread only.
class CJobList : public QObject
{
    Q_OBJECT
public:
    CJobList(JobModel& model, CCellListCtrl* list, QComboBox* profileBox, CProfileManager& profiles,
             QObject* parent = nullptr);
    ~CJobList() override;

    // Appends a probed `job` as a checked "Ready" row, giving it its own copy of the current
    // profile unless it brings one. Returns its row.
    int Append(std::unique_ptr<ConversionJob> job);
    // Makes `row` the selected row and selects and focuses it in the list.
    void SelectRow(int row);
    // Selects the last row, if any.
    void SelectLastRow();

    // Removes the selected rows.
    void Remove();
    void RemoveAll();
    // Sets every row's check box (Check all) or clears it (Uncheck all).
    void SetAllChecks(bool checked);
    // Moves the selected rows, when they are one block, up or down by one.
    void Up();
    void Down();
    // The user picked catalogue entry `index` in the Profile box: every selected row takes it.
    void OnProfileChanged(int index);
    // Writes the editor's pending values into the selected rows' profiles (with several
    // selected, only the values the user changed). Nothing during a batch.
    void WriteBackEdits();

    // While a batch runs the editor only shows (the worker reads the profiles); afterwards the
    // selected row's profile is editable again.
    void SetBatchRunning(bool running);

    // The first selected row; -1 when none.
    int SelectedRow() const { return m_selectedRow; }
    // The selected rows, in ascending order.
    QList<int> SelectedRows() const;
    // The first selected row's job; null when none is selected.
    ConversionJob* SelectedJob() const;
    QByteArray CurrentProfileName() const { return m_currentName; }
    void SetCurrentProfileName(const QByteArray& name) { m_currentName = name; }

private:
    void OnSelectionChanged();
    // Shows what the selected rows' profiles share, or the one row's profile.
    void ShowSelection();
    // The selected rows' jobs that are still listed, with a profile.
    QList<Profile*> SelectedProfiles() const;
    void MoveBlock(int by);
    // Deletes `row` with its job; the editor first lets go of the job's profile.
    void DeleteRow(int row);
    void ReleaseShown(const Profile* profile);
    void ShowJobProfile(ConversionJob& job);

    JobModel& m_model;
    CCellListCtrl* m_list;
    QComboBox* m_profileBox;
    CProfileManager& m_profiles;
    int m_selectedRow = -1;
    // The job whose profile the editor writes back to when the selection moves on: held as
    // the job, since the row's index may be gone by then.
    ConversionJob* m_selectedJob = nullptr;
    QList<ConversionJob*> m_selectedJobs; // every selected row's job, first first
    // What several selected rows share, while the editor shows it.
    std::unique_ptr<SharedProfileEdit> m_shared;
    QByteArray m_currentName;
    bool m_batchRunning = false;
    const Profile* m_shown = nullptr; // the job profile the editor shows, if any
};
