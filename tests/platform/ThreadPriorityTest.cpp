#include "ThreadPriority.h"
#include "ChildPriority.h"
#include "RunningPriority.h"

#include <QProcess>

#include <cstdio>
#include <cstdlib>
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
    EXPECT_TRUE(policy == SCHED_IDLE || policy == SCHED_BATCH) << policy;
    EXPECT_EQ(nice, getpriority(PRIO_PROCESS, id_t(getpid())));

    int after = 0;
    ASSERT_EQ(pthread_getschedparam(pthread_self(), &after, &param), 0);
    EXPECT_EQ(after, before);
}

// Field 41 of /proc/<pid>/stat is the scheduling policy of the process that reads it.
void expectToolsAtNormalPriority(bool lowered)
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
    const auto niceOf = [](const QByteArray& stat) {
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 16 ? fields[16].toInt() : -100; // field 19
    };
    if (lowered) {
        EXPECT_NE(policyOf(plain), SCHED_OTHER) << "the worker was not lowered";
    }
    EXPECT_EQ(policyOf(normal), RunningPriority::ofThisProcess().policy);
    EXPECT_EQ(niceOf(normal), RunningPriority::ofThisProcess().nice);
}

TEST(ThreadPriority, ToolsStartedFromAnIdleWorkerRunAtNormalPriority)
{
    expectToolsAtNormalPriority(true);
}

// An ordinary user can leave neither SCHED_IDLE nor a raised nice value, so a worker of theirs
// must not pass either on to the tools. Its own process: what is dropped stays dropped.
TEST(ThreadPriorityDeathTest, AnOrdinaryUsersToolsRunAtNormalPriority)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const QString why = RunningPriority::dropPriorityRaising();
            if (!why.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(why));
                std::exit(2);
            }
            expectToolsAtNormalPriority(false);
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}
