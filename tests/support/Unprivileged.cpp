#include "Unprivileged.h"

#include <QFile>
#include <QProcess>
#include <pwd.h>
#include <unistd.h>

namespace {

bool isRoot()
{
    return ::geteuid() == 0;
}

QStringList asNobody()
{
    return {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
}

} // namespace

QString Unprivileged::whyNot()
{
    if (!isRoot())
        return QString();
    if (!::getpwnam("nobody"))
        return QStringLiteral("there is no user nobody");
    QProcess probe;
    probe.start(QStringLiteral("setpriv"), asNobody() + QStringList{"true"});
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0)
        return QStringLiteral("setpriv cannot switch to nobody here: ") +
               QString::fromLocal8Bit(probe.readAllStandardError()).trimmed() + probe.errorString();
    return QString();
}

bool Unprivileged::giveAway(const QString& path)
{
    if (!isRoot())
        return true;
    const passwd* nobody = ::getpwnam("nobody");
    return nobody &&
           ::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) == 0;
}

bool Unprivileged::shareReadOnly(const QString& folder)
{
    return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther);
}

Unprivileged::Result Unprivileged::run(const QString& program, const QStringList& arguments,
                                       const QProcessEnvironment& environment)
{
    if (isRoot())
        return runProgram(QStringLiteral("setpriv"), asNobody() + QStringList{program} + arguments,
                          environment);
    return runProgram(program, arguments, environment);
}
