// A race planted on purpose: the ThreadSanitizer step of CI must report it, so that the step
// cannot pass by seeing nothing (a runtime not loaded, a shim that hides every report).

#include <cstdio>
#include <thread>

namespace {
int g_counter = 0; // deliberately unguarded
}

int main()
{
    std::thread first([] { ++g_counter; });
    std::thread second([] { ++g_counter; });
    first.join();
    second.join();
    std::printf("%d\n", g_counter);
    return 0;
}
