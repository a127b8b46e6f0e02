#pragma once

#include "OutputNamePattern.h"
#include "OutputNaming.h"

#include <QString>

struct ConversionJob;

// What a batch started now would do with one row, without doing it: the folder, the output
// path and the encoder tool's command line exactly as trace.log would show it. The batch forms
// its paths through the same functions. Any thread that may read the job.
namespace RowCommand {

// The folder a batch writes to for the output box text `outputBox` (empty: the default).
QString BatchFolder(const QString& outputBox);

// The output path `job`, as row `row`, gets in `folder` (or the job's sub-folder of it) under the
// overwrite preference, named by `pattern` with its profile's extension; `taken` names the paths
// other rows hold. Looks at the file system.
QString OutputPath(const ConversionJob& job, const QString& folder, bool overwrite,
                   const OutputNaming::Taken& taken = {},
                   const OutputNamePattern& pattern = OutputNamePattern(), int row = 0);

// The share (0..99) of `job`'s conversion into `folder` that segments kept by a stopped run
// hold, which the next conversion starts from.
int ResumePercent(const ConversionJob& job, const QString& folder, bool overwrite,
                  const OutputNamePattern& pattern = OutputNamePattern(), int row = 0);
// Throws away the segments kept for `job`'s conversion into `folder` (its row goes, or the user
// asked to start afresh).
void DropKeptWork(const ConversionJob& job, const QString& folder, bool overwrite,
                  const OutputNamePattern& pattern = OutputNamePattern(), int row = 0);

// True when the row's profile converts through the RealMedia producer, not the tool.
bool UsesProducer(const ConversionJob& job);

// The tool's command line for `job` writing `outputPath`, built from the job's profile as it
// stands (edits included) with the first engine's script in `writeFolder` (empty: the
// application folder); empty for a producer row.
QString CommandLine(const ConversionJob& job, const QString& outputPath, const QString& appFolder,
                    const QString& writeFolder = QString());

// The same command as a line a POSIX shell runs as written (ShellWords), for Copy Command Line
// and the dry run; empty for a producer row.
QString ShellLine(const ConversionJob& job, const QString& outputPath, const QString& appFolder,
                  const QString& writeFolder = QString());

} // namespace RowCommand
