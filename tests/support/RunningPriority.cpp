#include "RunningPriority.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <linux/capability.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The fields of /proc/<pid>/stat after the command's closing parenthesis (field 3 first).
QList<QByteArray> statFields(const QString& pid, QByteArray* command = nullptr)
{
    QFile file("/proc/" + pid + "/stat");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.readAll();
    const qsizetype open = stat.indexOf('('), close = stat.lastIndexOf(')');
    if (open < 0 || close < open)
        return {};
    if (command)
        *command = stat.mid(open + 1, close - open - 1);
    return stat.mid(close + 2).split(' ');
}

pid_t parentOf(pid_t pid)
{
    const QList<QByteArray> fields = statFields(QString::number(pid));
    return fields.size() > 1 ? fields[1].toInt() : 0; // field 4
}

} // namespace

std::optional<RunningPriority::Priority> RunningPriority::ofDescendant(pid_t ancestor,
                                                                       const QString& name)
{
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool numeric = false;
        const pid_t pid = entry.toInt(&numeric);
        QByteArray command;
        const QList<QByteArray> fields =
            numeric ? statFields(entry, &command) : QList<QByteArray>{};
        if (fields.size() < 39 || command != name.toLocal8Bit())
            continue;
        for (pid_t up = parentOf(pid); up > 1; up = parentOf(up))
            if (up == ancestor)
                return Priority{fields[38].toInt(), fields[16].toInt()}; // fields 41 and 19
    }
    return std::nullopt;
}

RunningPriority::Priority RunningPriority::ofThisProcess()
{
    return {sched_getscheduler(getpid()), getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()))};
}

QString RunningPriority::dropPriorityRaising()
{
    const rlimit none{0, 0};
    if (setrlimit(RLIMIT_NICE, &none) != 0)
        return QStringLiteral("RLIMIT_NICE cannot be lowered");
    // Only a thread with CAP_SETPCAP can drop from the bounding set; without it the programs
    // the test starts could not gain CAP_SYS_NICE either, unless they run as root.
    prctl(PR_CAPBSET_DROP, CAP_SYS_NICE, 0, 0, 0);
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return QStringLiteral("capget failed");
    const unsigned bit = 1U << CAP_SYS_NICE;
    data[0].effective &= ~bit;
    data[0].permitted &= ~bit;
    data[0].inheritable &= ~bit;
    if (syscall(SYS_capset, &header, data) != 0)
        return QStringLiteral("capset failed");
    return QString();
}
