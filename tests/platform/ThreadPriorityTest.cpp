#include "ThreadPriority.h"
#include "ChildPriority.h"

#include <QProcess>

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

TEST(ThreadPriority, OnlyTheCallingThreadDropsToIdle)
{
    int before = 0;
    sched_param param{};
    ASSERT_EQ(pthread_getschedparam(pthread_self(), &before, &param), 0);

    bool accepted = false;
    int policy = -1;
    int nice = 0;
    std::thread worker([&] {
        accepted = ThreadPriority::setCurrentThreadIdle();
        sched_param p{};
        pthread_getschedparam(pthread_self(), &policy, &p);
        nice = getpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)));
    });
    worker.join();
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(policy == SCHED_IDLE || nice == 19);

    int after = 0;
    ASSERT_EQ(pthread_getschedparam(pthread_self(), &after, &param), 0);
    EXPECT_EQ(after, before);
}

// Field 41 of /proc/<pid>/stat is the scheduling policy of the process that reads it.
TEST(ThreadPriority, ToolsStartedFromAnIdleWorkerRunAtNormalPriority)
{
    QByteArray plain, normal;
    std::thread worker([&] {
        ThreadPriority::setCurrentThreadIdle();
        for (QByteArray* out : {&plain, &normal}) {
            QProcess cat;
            if (out == &normal)
                ChildPriority::startAtNormalPriority(cat);
            cat.start("cat", {"/proc/self/stat"});
            cat.waitForFinished(10000);
            *out = cat.readAllStandardOutput();
        }
    });
    worker.join();
    const auto policyOf = [](const QByteArray& stat) {
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 38 ? fields[38].toInt() : -1; // field 41 counted from pid
    };
    if (policyOf(plain) != SCHED_IDLE)
        GTEST_SKIP() << "this system does not let a thread run SCHED_IDLE";
    EXPECT_EQ(policyOf(normal), SCHED_OTHER);
}
