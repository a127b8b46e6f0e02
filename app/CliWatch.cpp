#include "CliWatch.h"

#include "CBatchConverter.h"
#include "CConsoleWriter.h"
#include "CProfileManager.h"
#include "CTerminalRows.h"
#include "CTraceLog.h"
#include "Console.h"
#include "ConversionJob.h"
#include "FolderWatch.h"
#include "JobModel.h"
#include "MediaAdmission.h"
#include "RowCommand.h"
#include "WatchRecord.h"

#include <QDir>
#include <QFileInfo>

namespace {

void say(const CliWatch::Parts& parts, const QString& text)
{
    parts.writer.line(text);
    parts.trace.write(text.toLocal8Bit() + "\r\n");
}

// Turns the files that arrived into rows; those dealt with before, those whose output is
// already there and those that are not media are recorded or passed over.
void admit(const QStringList& arrived, const QString& folder, WatchRecord& record,
           const CliWatch::Parts& parts)
{
    const QString into = RowCommand::BatchFolder(parts.outputFolder);
    for (const QString& file : arrived) {
        if (record.has(file))
            continue;
        std::unique_ptr<ConversionJob> job = MediaAdmission::ProbeFile(parts.controller, file);
        if (!job) {
            record.add(file, QStringLiteral("Not media"));
            continue;
        }
        job->outputSubfolder = MediaAdmission::SubfolderOf(folder, file);
        job->profile = std::make_unique<Profile>();
        parts.profiles.LoadProfile(parts.profileName, job->profile.get());
        const QString output = RowCommand::OutputPath(
            *job, into, true, {}, parts.batch.namePattern(), parts.model.rowCount());
        if (QFileInfo::exists(output)) {
            record.add(file, QStringLiteral("Output there"));
            continue;
        }
        const QString target = QString::fromLocal8Bit(CProfileManager::TargetText(*job->profile));
        parts.rows.addRow(std::move(job), target);
    }
}

struct Ended
{
    bool failed = false;
    bool cut = false; // a row was stopped
};

// Records the rows that ended for good and clears the list. A failed or stopped row is not
// recorded, so that a later watch tries it again.
Ended recordAndClear(WatchRecord& record, const CliWatch::Parts& parts)
{
    Ended ended;
    for (int row = 0; row < parts.model.rowCount(); ++row) {
        const RowState state = parts.model.values(row).state;
        const QString input = parts.model.job(row)->inputPath;
        ended.failed = ended.failed || state == RowState::Fail;
        ended.cut = ended.cut || state == RowState::Abort;
        if ((state == RowState::Completed || state == RowState::Skipped) &&
            QFileInfo::exists(input))
            record.add(input, rowStateName(state));
    }
    parts.model.clear();
    return ended;
}

} // namespace

int CliWatch::run(const QString& folder, const Parts& parts)
{
    WatchRecord record(parts.stateFolder, folder);
    QString aside;
    if (record.load(aside) == WatchRecord::Damaged)
        parts.writer.errorLine(
            aside.isEmpty()
                ? QStringLiteral("The watch record %1 could not be read; it was deleted, and the "
                                 "watch starts afresh.")
                      .arg(QDir::toNativeSeparators(record.path()))
                : QStringLiteral("The watch record could not be read; it was set aside as %1, "
                                 "and the watch starts afresh.")
                      .arg(QDir::toNativeSeparators(aside)));
    FolderWatch watch(folder, RowCommand::BatchFolder(parts.outputFolder));
    parts.writer.line(QStringLiteral("Watching %1; Ctrl+C ends the watch.")
                          .arg(QDir::toNativeSeparators(watch.folder())));
    bool failed = false;
    bool present = true;
    for (;;) {
        const QStringList arrived = watch.poll();
        if (watch.present() != present) {
            present = watch.present();
            say(parts, present ? QStringLiteral("The watched folder is back: ") + watch.folder()
                               : QStringLiteral("The watched folder is gone; waiting for it to "
                                                "come back: ") +
                                     watch.folder());
        }
        admit(arrived, watch.folder(), record, parts);
        if (parts.model.rowCount() > 0) {
            const bool interrupted = parts.convert();
            const Ended ended = recordAndClear(record, parts);
            failed = failed || ended.failed;
            // An end asked for as the batch was finishing cut nothing short.
            if (ended.cut)
                return 130;
            if (interrupted || parts.batch.StopRequested())
                return failed ? 1 : 0;
        }
        if (Console::waitForInterrupt(kLookEveryMs))
            return failed ? 1 : 0;
    }
}
