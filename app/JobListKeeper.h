#pragma once

#include "JobListStore.h"
#include "OutputNamePattern.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class CParamTree;
class CJobList;
class JobModel;
class CProfileManager;
class QLineEdit;
class QWidget;
class WindowAdmissions;

// Keeps the window's job list on disk while the program runs, so that a crash does not lose
// it, and offers it back at the next start. Changes of the list (rows, check boxes, statuses,
// profiles, ended edits, the output box) are gathered and written a short while later, at most a
// few times a second; progress of a running row is not a change. A normal exit deletes the file.
// Threads: UI thread only. During a batch it only reads the rows' paths and profiles, which
// the worker reads too and never writes.
class JobListKeeper : public QObject
{
    Q_OBJECT
public:
    // What it works with; none is owned, all must outlive it.
    struct Parts
    {
        QWidget* owner = nullptr;  // of its messages
        CJobList* jobs = nullptr;  // appends restored rows with their profiles
        JobModel* model = nullptr; // the rows kept
        CProfileManager* profiles = nullptr;
        WindowAdmissions* admissions = nullptr; // probes restored files off the UI thread
        CParamTree* editor = nullptr;           // the parameter tree, whose ended edits count
        std::function<void()> writeBackEdits;   // puts the editor's values into their row
        QLineEdit* outputBox = nullptr;         // whose text is kept and restored with the rows
        std::function<OutputNamePattern()> namePattern; // how the batch names outputs
    };

    // Keeps the list in `folder`. A list found there is read now and offered by
    // OfferRestore; until then nothing is written, so the found list stays as it was.
    JobListKeeper(const QString& folder, Parts parts);
    // Writes a change still waiting, unless the list was discarded.
    ~JobListKeeper() override;

    // At start: asks once whether to restore a list found (Yes: its files are probed again
    // and added, those gone listed in one message), or reports a damaged one set aside.
    // Then the list is kept from now on; after a restore, once its last file is probed.
    void OfferRestore();
    // A normal exit: deletes the file and keeps nothing more.
    void Discard();
    // Writes the list now if it changed since it was last written.
    void SaveNow();

    QString path() const { return m_store.path(); }

private:
    void changed();
    JobListStore::Kept snapshot();
    // What a restore left out: files gone, profiles no longer listed.
    struct LeftOut
    {
        QStringList gone;
        QStringList lostProfiles;
    };

    void restore(const JobListStore::Kept& list);
    // The messages after a restore: profiles no longer listed, then files gone.
    void sayLeftOut(const QStringList& gone, const QStringList& lostProfiles);
    void startKeeping();

    JobListStore m_store;
    Parts m_parts;
    QTimer m_timer;
    bool m_keeping = false; // false until OfferRestore, and after Discard
    JobListStore::Found m_found = JobListStore::Nothing;
    JobListStore::Kept m_foundList;
    QByteArray m_written; // the bytes last written; empty: no file of ours
};
