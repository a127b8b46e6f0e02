#pragma once

#include "ProgramRun.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs a program as a user who cannot write where root can, as a desktop user would run an
// installed program. As root the program runs as nobody (setpriv); as anyone else it runs as
// that user, for whom a folder without write permission is read-only already.
namespace Unprivileged {

// Why programs cannot be run this way on this machine; empty when they can.
QString whyNot();

// Lets the unprivileged user write in `path` (a folder or file made by the test).
bool giveAway(const QString& path);

// Makes `folder` readable and enterable by everyone, writable by nobody but its owner.
bool shareReadOnly(const QString& folder);

using Result = ProgramResult;

// Runs `program` with `arguments` as that user in `environment`; waits up to 5 minutes.
Result run(const QString& program, const QStringList& arguments,
           const QProcessEnvironment& environment);

} // namespace Unprivileged
