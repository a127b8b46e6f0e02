#pragma once

#include "AdmissionWorker.h"
#include "EncoderSetup.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

class CJobList;
class QAbstractButton;
class QLabel;
class QWidget;
struct ConversionJob;

// The main window's admissions: Add, Add Folder, drops and files handed over, and a kept job
// list brought back. Each is probed on an AdmissionWorker of its own after those asked before
// it, its rows appear as their files are probed, and the line "Adding files… N of M" with its
// Cancel button shows while one runs. The messages of an admission come at its end.
// Threads: UI thread only; the walk and the probes run on the worker.
class WindowAdmissions : public QObject
{
    Q_OBJECT
public:
    // What it works with; none is owned, all must outlive it.
    struct Parts
    {
        QWidget* owner = nullptr; // of the messages
        CJobList* jobs = nullptr;
        QWidget* list = nullptr;             // takes the focus back from a hidden Cancel
        QWidget* bar = nullptr;              // shown while an admission runs or waits
        QLabel* text = nullptr;              // "Adding files… N of M"
        QAbstractButton* cancel = nullptr;   // cancels the running admission
        EncoderSetup setup;                  // the probe's tool folder and event log
        std::function<void()> stopPreview;   // after Add and Add Folder
        std::function<void()> codecDownload; // the Information dialog's button
    };
    // One admission. `paths` are probed in order, folders walked when `walkFolders`; every hook
    // runs on the UI thread and may be empty.
    struct Request
    {
        QStringList paths;
        bool walkFolders = false;
        // Takes each probed job; empty: appended as a row with the current profile.
        std::function<void(std::unique_ptr<ConversionJob> job, int item)> admitted;
        // A path given as a file that cannot be decoded.
        std::function<void(const QString& path, int item)> refused;
        // Once, after the last row (also when cancelled; never when abandoned).
        std::function<void(const AdmissionWorker::Outcome& outcome)> ended;
    };

    WindowAdmissions(Parts parts, QObject* parent = nullptr);
    // Abandons what runs or waits.
    ~WindowAdmissions() override;

    // Add: the files that cannot be decoded are named in the Information dialog; the last row
    // is selected and the preview stopped.
    void add(const QStringList& files);
    // Add Folder: one message says how many files were added and skipped; the last row is
    // selected when any was added, and the preview stopped.
    void addFolder(const QString& folder);
    // A drop or files handed over: folders are walked, each with its own message; the files
    // that cannot be decoded are named in one Error message; the last row is selected.
    void drop(const QStringList& paths);
    // Runs `request` after every admission asked before it.
    void enqueue(Request request);

    // True from the first request until the last queued one has ended and said its messages.
    bool busy() const { return m_busy; }
    // Cancel: the running admission stops after the file it probes; its rows stay and its
    // messages still come. Admissions waiting behind it run.
    void cancel();
    // The window closes: what runs stops at once, what waits is dropped, nothing is said.
    void abandon();

signals:
    // An admission begins while none ran.
    void started();
    // The last admission has ended, its messages said.
    void finished();

private:
    void startNext();
    void onFinished(const AdmissionWorker::Outcome& outcome);
    void showProgress(int done, int total);
    void hideBar();
    void selectLastRow();

    Parts m_parts;
    std::deque<Request> m_waiting;
    Request m_current;
    std::unique_ptr<AdmissionWorker> m_worker;
    QTimer m_showBar; // a quick admission shows no line at all
    bool m_busy = false;
};
