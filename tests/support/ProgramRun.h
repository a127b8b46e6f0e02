#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a program a test ran left behind.
struct ProgramResult
{
    int exitCode = -1; // -1 when it crashed or had to be killed
    QString out;
    QString err;
};

// Runs `program` with `arguments` in `environment`, with no shell between; waits up to 5
// minutes, then kills it.
ProgramResult
runProgram(const QString& program, const QStringList& arguments,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// The words a POSIX shell makes of the pasted `line`, run in `folder` with each word printed
// instead of the command run: what the line would run, and nothing it would expand into.
QStringList shellWords(const QString& line, const QString& folder);

// The system's environment as a user with the fresh home `home` has it: HOME set there and no
// XDG folder variables, so the program's own defaults under that home apply.
QProcessEnvironment homeEnvironment(const QString& home);
