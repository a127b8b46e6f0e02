#include "ThreadPriority.h"

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
