#include "AdmissionWorker.h"

#include "CQuentaMediaCntl.h"
#include "ConversionJob.h"
#include "ThreadHandOff.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <chrono>

namespace {

// How often the count of a folder being walked is shown while it grows.
constexpr qint64 kCountEveryMs = 100;

} // namespace

AdmissionWorker::AdmissionWorker(const EncoderSetup& setup, Reports reports, QObject* parent)
    : QObject(parent), m_reports(std::move(reports))
{
    // Only what a probe reads: the batch's callbacks and trace stay with the batch.
    m_setup.kind = EncoderKind::FfmpegTool;
    m_setup.appFolder = setup.appFolder;
    m_setup.writeFolder = setup.writeFolder;
    m_setup.events = setup.events;
    m_setup.probeCancel = &m_cancel;
}

AdmissionWorker::~AdmissionWorker()
{
    cancel();
    if (m_worker.joinable())
        m_worker.join();
}

bool AdmissionWorker::start(const QStringList& paths, bool walkFolders)
{
    if (m_started)
        return false;
    m_started = true;
    m_running = true;
    m_worker = std::thread([this, paths, walkFolders] { run(paths, walkFolders); });
    return true;
}

void AdmissionWorker::run(const QStringList& paths, bool walkFolders)
{
    Outcome outcome;
    {
        // Gone before the last report, so that the owning thread never waits for it.
        CQuentaMediaCntl controller;
        controller.Init(&m_setup);
        std::vector<Entry> entries;
        outcome.cancelled = !collect(paths, walkFolders, entries, outcome) ||
                            !probeAll(controller, entries, outcome);
    }
    post([this, outcome] {
        m_running = false;
        if (m_reports.finished)
            m_reports.finished(outcome);
    });
}

bool AdmissionWorker::collect(const QStringList& paths, bool walkFolders,
                              std::vector<Entry>& entries, Outcome& outcome)
{
    QElapsedTimer sinceCount;
    sinceCount.start();
    const auto showCount = [&] {
        post([this, total = int(entries.size())] {
            if (m_reports.progress)
                m_reports.progress(0, total);
        });
        sinceCount.restart();
    };
    for (int item = 0; item < int(paths.size()); ++item) {
        if (cancelled())
            return false;
        const QString& path = paths[item];
        if (!walkFolders || !QFileInfo(path).isDir()) {
            entries.push_back({path, item, false, {}});
            continue;
        }
        outcome.folders.push_back({item, {}});
        const bool whole = MediaAdmission::ForEachFolderFile(path, [&](const QString& file) {
            entries.push_back({file, item, true, MediaAdmission::SubfolderOf(path, file)});
            if (sinceCount.elapsed() >= kCountEveryMs)
                showCount();
            return !cancelled();
        });
        if (!whole)
            return false;
    }
    showCount();
    return true;
}

bool AdmissionWorker::probeAll(CQuentaMediaCntl& controller, const std::vector<Entry>& entries,
                               Outcome& outcome)
{
    const int total = int(entries.size());
    for (int done = 0; done < total; ++done) {
        const Entry& entry = entries[size_t(done)];
        if (cancelled() || !roomForRow())
            return false;
        auto job = std::make_shared<std::unique_ptr<ConversionJob>>(
            MediaAdmission::ProbeFile(controller, entry.path));
        // A probe cut short says nothing about its file.
        if (cancelled())
            return false;
        if (entry.inFolder) {
            for (auto it = outcome.folders.rbegin(); it != outcome.folders.rend(); ++it) {
                if (it->first == entry.item) {
                    if (*job)
                        ++it->second.added;
                    else
                        it->second.skip(entry.path);
                    break;
                }
            }
        }
        if (*job) {
            (*job)->outputSubfolder = entry.subfolder;
            m_inFlight.fetch_add(1);
        }
        // The job travels in a shared holder: a report dropped with this object frees it.
        post([this, job, entry, done, total] {
            if (*job) {
                m_inFlight.fetch_sub(1);
                if (m_reports.admitted)
                    m_reports.admitted(std::move(*job), entry.item);
            } else if (!entry.inFolder && m_reports.refused) {
                m_reports.refused(entry.path, entry.item);
            }
            if (m_reports.progress)
                m_reports.progress(done + 1, total);
        });
    }
    return true;
}

void AdmissionWorker::post(std::function<void()> report)
{
    ThreadHandOff::post(this, std::move(report));
}

bool AdmissionWorker::roomForRow()
{
    // Far ahead, the worker would hand the owning thread thousands of rows in one go.
    while (m_inFlight.load() >= kMaxInFlight) {
        if (cancelled())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
