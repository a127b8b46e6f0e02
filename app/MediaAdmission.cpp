#include "MediaAdmission.h"

#include "CQuentaMediaCntl.h"
#include "ConversionJob.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString files(int count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

// Depth first; false when `visit` stopped it.
bool walk(const QDir& folder, const std::function<bool(const QString&)>& visit)
{
    const QDir::SortFlags order = QDir::Name | QDir::LocaleAware;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files, order)) {
        if (!visit(file.absoluteFilePath()))
            return false;
    }
    for (const QFileInfo& sub : folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, order)) {
        if (sub.isSymLink())
            continue;
        if (!walk(QDir(sub.absoluteFilePath()), visit))
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<ConversionJob> MediaAdmission::ProbeFile(CQuentaMediaCntl& controller,
                                                         const QString& path)
{
    auto job = std::make_unique<ConversionJob>();
    job->inputPath = path;
    const int known = controller.bGetMediaFileContent(job->inputPath, job.get());
    if (known == 0 && job->media.duration == 0.0)
        return nullptr;
    return job;
}

bool MediaAdmission::ForEachFolderFile(const QString& folder,
                                       const std::function<bool(const QString&)>& visit)
{
    return walk(QDir(folder), visit);
}

MediaAdmission::FolderTally
MediaAdmission::AdmitFolder(CQuentaMediaCntl& controller, const QString& folder,
                            const std::function<void(std::unique_ptr<ConversionJob>)>& admit,
                            const std::function<bool()>& cancelled)
{
    FolderTally tally;
    ForEachFolderFile(folder, [&](const QString& path) {
        if (cancelled && cancelled())
            return false;
        std::unique_ptr<ConversionJob> job = ProbeFile(controller, path);
        if (!job) {
            ++tally.skipped;
            return true;
        }
        ++tally.added;
        admit(std::move(job));
        return true;
    });
    return tally;
}

QString MediaAdmission::SummaryText(const FolderTally& tally)
{
    return QStringLiteral("Added %1 from the folder; skipped %2 that %3 not media.")
        .arg(files(tally.added))
        .arg(tally.skipped)
        .arg(tally.skipped == 1 ? QStringLiteral("is") : QStringLiteral("are"));
}
