#include "ToolRun.h"

#include "EncoderToolContract.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>

#include <cstdio>

QString toolPath()
{
    return TestMedia::appDir() + "encode";
}

ToolRun runTool(const QStringList& args, const QString& workDir, const QProcessEnvironment& env,
                const std::function<void(QProcess&)>& during, const QString& tool)
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(tool, args);
    ToolRun run;
    if (!p.waitForStarted(30000))
        return run;
    if (during)
        during(p);
    else
        p.closeWriteChannel();
    run.finished = p.waitForFinished(300000);
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

QStringList conversion(const QString& in, const QStringList& options, const QString& out)
{
    return QStringList{"ffmpeg-converter", "-i", in} + options +
           QStringList{"-async", "24", "-vsync", "24", "-y", out};
}

int progressSeconds(const QByteArray& line)
{
    int seconds = -1;
    if (std::sscanf(line.constData(), "%*s %*s %*s %*s %*s %*s %*s %*s time=%d", &seconds) != 1)
        return -1;
    return seconds;
}

QByteArray complaints(const ToolRun& run)
{
    QByteArray said;
    for (const QByteArray& line : run.err.split('\n'))
        if (!line.isEmpty() && !line.startsWith(EncoderToolContract::kVerdictWord))
            said += line + '\n';
    return said;
}

QByteArray verdictLine(const ToolRun& run)
{
    for (const QByteArray& line : run.err.split('\n'))
        if (line.startsWith(EncoderToolContract::kVerdictWord))
            return line;
    return QByteArray();
}

QProcessEnvironment withFakeFfmpeg(const QString& folder, const QByteArray& script)
{
    QDir().mkpath(folder);
    const QString path = folder + "/ffmpeg";
    TestMedia::writeFile(path, "#!/bin/sh\n" + script);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", folder + ":/usr/bin:/bin");
    return env;
}
