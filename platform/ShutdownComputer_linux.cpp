#include "ShutdownComputer.h"

#include <QProcess>
#include <QStringList>

void ShutdownComputer()
{
    // logind decides through its policy; --no-ask-password keeps a terminal from waiting for
    // a password prompt nobody answers.
    QProcess::startDetached(
        QStringLiteral("systemctl"),
        QStringList{QStringLiteral("--no-ask-password"), QStringLiteral("poweroff")});
}
