#include "MediaAdmission.h"

#include "CQuentaMediaCntl.h"
#include "ConversionJob.h"
#include "MediaProbe.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

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

QString MediaAdmission::SubfolderOf(const QString& folder, const QString& file)
{
    const QString relative = QDir(folder).relativeFilePath(QFileInfo(file).absolutePath());
    return relative == QLatin1String(".") ? QString() : relative;
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
            tally.skip(path);
            return true;
        }
        ++tally.added;
        job->outputSubfolder = SubfolderOf(folder, path);
        admit(std::move(job));
        return true;
    });
    return tally;
}

void MediaAdmission::FolderTally::skip(const QString& path)
{
    ++skipped;
    const MediaProbeResult probe = ProbeMediaFile(path);
    // The probe read it, so the converter's own look is what refused it.
    skippedFiles.append({path, probe.ok ? QStringLiteral("it cannot be decoded") : probe.failure,
                         !probe.ok && probe.notMedia});
}

QString MediaAdmission::SummaryText(const FolderTally& tally)
{
    const auto are = [](int count) {
        return count == 1 ? QStringLiteral("is") : QStringLiteral("are");
    };
    int damaged = 0;
    for (const FolderTally::Skipped& file : tally.skippedFiles)
        damaged += file.notMedia ? 0 : 1;
    const int notMedia = tally.skipped - damaged;
    QString text =
        damaged == 0
            ? QStringLiteral("Added %1 from the folder; skipped %2 that %3 not media.")
                  .arg(files(tally.added))
                  .arg(tally.skipped)
                  .arg(are(tally.skipped))
            : QStringLiteral("Added %1 from the folder; skipped %2: %3 that %4 not media and %5 "
                             "that %6 damaged or unreadable.")
                  .arg(files(tally.added))
                  .arg(tally.skipped)
                  .arg(notMedia)
                  .arg(are(notMedia))
                  .arg(damaged)
                  .arg(are(damaged));
    const qsizetype listed = std::min<qsizetype>(tally.skippedFiles.size(), kListedSkips);
    for (qsizetype i = 0; i < listed; ++i) {
        const FolderTally::Skipped& file = tally.skippedFiles[i];
        text += QStringLiteral("\n%1: %2 (%3)")
                    .arg(QFileInfo(file.path).fileName(),
                         file.notMedia ? QStringLiteral("not media")
                                       : QStringLiteral("damaged or unreadable"),
                         file.reason);
    }
    if (tally.skippedFiles.size() > listed)
        text += QStringLiteral("\nand %1 more.").arg(tally.skippedFiles.size() - listed);
    return text;
}
