#pragma once

#include "EncoderSetup.h"
#include "MediaAdmission.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

class CQuentaMediaCntl;
struct ConversionJob;

// One admission off the UI thread: walks the given paths in order (a folder as
// MediaAdmission::AdmitFolder walks it), probes each file and reports every result, so that the
// window stays answering while a probe waits for the encoder tool's information mode.
// Threads: made, started, cancelled and destroyed on the thread it lives on (the UI thread),
// where every report runs, in the order of the files. The walk and the probes run on a worker
// thread with a controller of its own, made from a copy of the set-up: nothing it probes with
// is shared with the UI thread or a batch. The worker only posts (ThreadHandOff::post) and
// never waits for the UI thread but to keep a bounded number of rows in flight; cancellation is
// an atomic flag, seen between files and during a probe's wait for the tool.
class AdmissionWorker : public QObject
{
public:
    // How an admission ended: each walked folder's tally, by the index of its path.
    struct Outcome
    {
        std::vector<std::pair<int, MediaAdmission::FolderTally>> folders;
        bool cancelled = false;
    };
    // What the admission tells, each on the owning thread; any may be empty.
    struct Reports
    {
        // A probed file as a job without a profile; `item` is the index of the path it came from.
        std::function<void(std::unique_ptr<ConversionJob> job, int item)> admitted;
        // A path given as a file (not one found in a folder) that cannot be decoded.
        std::function<void(const QString& path, int item)> refused;
        // Files probed so far, and files known so far (a folder's count grows while it is walked).
        std::function<void(int done, int total)> progress;
        // The last report, also after a cancel; not after the object is gone.
        std::function<void(const Outcome& outcome)> finished;
    };

    // Probes with a tool encoder set up from `setup` (its folders and event log; its probe
    // cancel is this admission's own).
    AdmissionWorker(const EncoderSetup& setup, Reports reports, QObject* parent = nullptr);
    // Cancels a running admission and waits for the worker, which then ends within about
    // CToolInformationProbe::kCancelCheckMs; reports still queued are dropped.
    ~AdmissionWorker() override;
    AdmissionWorker(const AdmissionWorker&) = delete;
    AdmissionWorker& operator=(const AdmissionWorker&) = delete;

    // Starts on `paths`: with `walkFolders` a folder is walked, else every path is probed as a
    // file. False (nothing started) when this object has run already.
    bool start(const QStringList& paths, bool walkFolders);
    // Asks the worker to stop; files not yet probed are left out. Any thread.
    void cancel() { m_cancel.store(true); }
    // True from start until `finished` has been reported.
    bool isRunning() const { return m_running; }

    // Rows posted to the owning thread and not yet handed over, at most.
    static constexpr int kMaxInFlight = 32;

private:
    struct Entry
    {
        QString path;
        int item = 0;
        bool inFolder = false;
        QString subfolder; // under the added folder
    };

    void run(const QStringList& paths, bool walkFolders);
    // Lists the files to probe, in order; false when cancelled.
    bool collect(const QStringList& paths, bool walkFolders, std::vector<Entry>& entries,
                 Outcome& outcome);
    // Probes `entries` in order, reporting each; false when cancelled.
    bool probeAll(CQuentaMediaCntl& controller, const std::vector<Entry>& entries,
                  Outcome& outcome);
    void post(std::function<void()> report);
    // Waits while the owning thread still has kMaxInFlight rows to take; false when cancelled.
    bool roomForRow();
    bool cancelled() const { return m_cancel.load(); }

    EncoderSetup m_setup;
    Reports m_reports;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_inFlight{0};
    bool m_running = false; // owning thread
    bool m_started = false; // owning thread
    std::thread m_worker;
};
