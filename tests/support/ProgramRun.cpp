#include "ProgramRun.h"

#include <QProcess>

ProgramResult runProgram(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
    }
    ProgramResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QStringList shellWords(const QString& line, const QString& folder)
{
    QProcess shell;
    shell.setWorkingDirectory(folder);
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), "printf '%s\\0' " + line});
    shell.waitForFinished(60000);
    QStringList words = QString::fromLocal8Bit(shell.readAllStandardOutput()).split(QChar(0));
    words.removeLast(); // after the last word's terminator
    return words;
}

QProcessEnvironment homeEnvironment(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        env.remove(name);
    env.insert(QStringLiteral("HOME"), home);
    return env;
}
