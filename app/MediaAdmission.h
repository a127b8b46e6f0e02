#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class CQuentaMediaCntl;
struct ConversionJob;

// Turning paths into jobs through the probe, one file or a whole folder tree.
// Threads: the caller's (the window's admission worker, or the terminal program's main
// thread); no batch may run on the same controller meanwhile, as the probe uses its current
// encoder.
namespace MediaAdmission {

struct FolderTally
{
    int added = 0;   // files handed over as jobs
    int skipped = 0; // files the probe could not read
    struct Skipped
    {
        QString path;
        QString reason;       // what the probe found wrong
        bool notMedia = true; // else damaged or unreadable media
    };
    QList<Skipped> skippedFiles; // in the order they were met

    // Counts `path` as skipped, with the reason an in-process probe gives.
    void skip(const QString& path);
};

// Probes `path` into a new job; null when the file cannot be decoded (the probe answered 0
// and learned no duration). The job has no profile yet.
std::unique_ptr<ConversionJob> ProbeFile(CQuentaMediaCntl& controller, const QString& path);

// Hands each file under `folder` to `visit`, walking as AdmitFolder does; stops when `visit`
// answers false. False when it was stopped.
bool ForEachFolderFile(const QString& folder, const std::function<bool(const QString&)>& visit);

// The folder of `file` relative to `folder`, which holds it: empty when `file` stands in
// `folder` itself, "a/b" when it stands in `folder`/a/b.
QString SubfolderOf(const QString& folder, const QString& file);

// Walks `folder` and every folder below it: in each, its files in name order, then its
// sub-folders in name order. Hidden entries are left out, and linked folders are not followed
// (no loops). Each file the probe can read is handed to `admit`, its output sub-folder set; the
// others are skipped without a word and counted. `cancelled`, when given, is asked between files.
FolderTally AdmitFolder(CQuentaMediaCntl& controller, const QString& folder,
                        const std::function<void(std::unique_ptr<ConversionJob>)>& admit,
                        const std::function<bool()>& cancelled = {});

// The one message after admitting folders: "Added 5 files from the folder; skipped 2 that
// are not media.", or when some are damaged "...; skipped 3: 2 that are not media and 1 that
// is damaged or unreadable."; then each skipped file's name and reason on a line of its own
// (the first kListedSkips, then how many more).
QString SummaryText(const FolderTally& tally);
inline constexpr int kListedSkips = 20;

} // namespace MediaAdmission
