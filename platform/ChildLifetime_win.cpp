#include "ChildLifetime.h"

#include <QProcess>

#include <windows.h>

ChildLifetime::ChildLifetime()
{
    // The system closes the job's last handle when this process ends, however it ends, and the
    // job then ends every process in it.
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return;
    }
    m_job = job;
}

ChildLifetime::~ChildLifetime()
{
    if (m_job)
        CloseHandle(static_cast<HANDLE>(m_job));
}

void ChildLifetime::bind(QProcess& process)
{
    if (!m_job)
        return;
    HANDLE job = static_cast<HANDLE>(m_job);
    QObject::connect(&process, &QProcess::started, &process, [job, &process] {
        HANDLE child =
            OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, DWORD(process.processId()));
        if (child) {
            AssignProcessToJobObject(job, child);
            CloseHandle(child);
        }
    });
}
