// A stand-in for ffmpeg that only notes when it started, on the clock the bench reads: how long
// the encoder tool takes to get ffmpeg going.
#include <chrono>
#include <cstdio>
#include <cstdlib>

int main()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const char* path = std::getenv("TOVEL_BENCH_STAMP");
    FILE* f = path ? std::fopen(path, "w") : nullptr;
    if (!f)
        return 1;
    std::fprintf(f, "%lld\n",
                 (long long)std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    std::fclose(f);
    return 0;
}
