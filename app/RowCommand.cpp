#include "RowCommand.h"

#include "CAvsScriptWriter.h"
#include "CEncoderCommandBuilder.h"
#include "ConversionJob.h"
#include "DefaultFolders.h"
#include "SegmentWorkFolder.h"
#include "ShellWords.h"

#include <QDir>

QString RowCommand::BatchFolder(const QString& outputBox)
{
    return outputBox.isEmpty() ? DefaultFolders::emptyOutputBox() : outputBox;
}

QString RowCommand::OutputPath(const ConversionJob& job, const QString& folder, bool overwrite,
                               const OutputNaming::Taken& taken, const OutputNamePattern& pattern,
                               int row)
{
    const QString extension =
        job.profile ? QString::fromLocal8Bit(job.profile->extName) : QString();
    // The pattern's name stands in for the input's; the rule that numbers a taken name stays.
    const QString named = pattern.isDefault()
                              ? job.inputPath
                              : pattern.nameFor(job, row) + QStringLiteral(".pattern");
    const QString into = job.outputSubfolder.isEmpty() || !pattern.keepsFolderTree()
                             ? folder
                             : QDir(folder).filePath(job.outputSubfolder);
    return OutputNaming::FormOutputPath(named, into, extension, overwrite, taken);
}

int RowCommand::ResumePercent(const ConversionJob& job, const QString& folder, bool overwrite,
                              const OutputNamePattern& pattern, int row)
{
    return SegmentWorkFolder::donePercent(OutputPath(job, folder, overwrite, {}, pattern, row),
                                          job.inputPath);
}

void RowCommand::DropKeptWork(const ConversionJob& job, const QString& folder, bool overwrite,
                              const OutputNamePattern& pattern, int row)
{
    SegmentWorkFolder::removeFor(OutputPath(job, folder, overwrite, {}, pattern, row),
                                 job.inputPath);
}

bool RowCommand::UsesProducer(const ConversionJob& job)
{
    return job.profile && job.profile->format.compare("rm", Qt::CaseInsensitive) == 0;
}

namespace {

EncoderCommand commandOf(const ConversionJob& job, const QString& outputPath,
                         const QString& appFolder, const QString& writeFolder)
{
    const QString folder = writeFolder.isEmpty() ? appFolder : writeFolder;
    return CEncoderCommandBuilder::forJob(appFolder, job, outputPath,
                                          folder + QLatin1String(CAvsScriptWriter::kScriptName));
}

} // namespace

QString RowCommand::CommandLine(const ConversionJob& job, const QString& outputPath,
                                const QString& appFolder, const QString& writeFolder)
{
    return UsesProducer(job) ? QString() : commandOf(job, outputPath, appFolder, writeFolder).text;
}

QString RowCommand::ShellLine(const ConversionJob& job, const QString& outputPath,
                              const QString& appFolder, const QString& writeFolder)
{
    if (UsesProducer(job))
        return QString();
    const EncoderCommand command = commandOf(job, outputPath, appFolder, writeFolder);
    return ShellWords::line(command.program, command.arguments);
}
