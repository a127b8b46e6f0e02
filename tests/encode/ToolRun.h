#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <functional>

// The built tool, run as the converter runs it: an argument list, pipes on all three channels.
struct ToolRun
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The tool in the built application folder.
QString toolPath();

// Runs `tool` to its end. `during` may talk to it while it runs; by default its input is
// closed at once (end of input must change nothing).
ToolRun runTool(const QStringList& args, const QString& workDir = QString(),
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                const std::function<void(QProcess&)>& during = {},
                const QString& tool = toolPath());

// The converter's conversion line for the tool.
QStringList conversion(const QString& in, const QStringList& options, const QString& out);

// The converter's reading of a progress line: the whole seconds after "time=", -1 if none.
int progressSeconds(const QByteArray& line);

// What the tool said on standard error besides its quality verdict.
QByteArray complaints(const ToolRun& run);
// The tool's verdict line, without its line end; empty when it gave none.
QByteArray verdictLine(const ToolRun& run);

// An environment whose search path finds a stand-in ffmpeg first: a shell script made of
// `script` in `folder`.
QProcessEnvironment withFakeFfmpeg(const QString& folder, const QByteArray& script);
