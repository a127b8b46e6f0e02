#pragma once

class QProcess;

// Ties the processes this program starts to its own life: when it ends, for whatever reason
// (a crash or being killed included), they are ended too. One object lives as long as the
// children it binds; it is used from the thread that starts them.
class ChildLifetime
{
public:
    ChildLifetime();
    ~ChildLifetime();
    ChildLifetime(const ChildLifetime&) = delete;
    ChildLifetime& operator=(const ChildLifetime&) = delete;

    // Makes `process` end with this program. Call before start(); the same thread must start it
    // and live until the child has ended.
    void bind(QProcess& process);

private:
    void* m_job = nullptr; // the job object that holds the children where the system has one
};
