#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class CCellListCtrl;
class CProfileManager;
class JobModel;
class QComboBox;
class QItemSelection;
struct ConversionJob;
struct Profile;

// What of the job list belongs to the main window: the row commands, the row selection, and
// how the selection, the Profile box and the parameter editor follow each other. The rows
// themselves are the job model's; the list control draws them (JobListDrawing).
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
    // The selected row's job; null when none is selected.
    ConversionJob* SelectedJob() const;
    QByteArray CurrentProfileName() const { return m_currentName; }
    void SetCurrentProfileName(const QByteArray& name) { m_currentName = name; }

private:
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void Move(int to);
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
    QByteArray m_currentName;
    bool m_batchRunning = false;
    const Profile* m_shown = nullptr; // the job profile the editor shows, if any
};
