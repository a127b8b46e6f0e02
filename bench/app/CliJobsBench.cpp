// Prints the wall time of tovel-cli converting the same 8 short clips with --jobs 1 and with
// --jobs 2 (each run into a fresh folder), the best of a few rounds each, and their ratio.
// The program runs from an application folder of its own, so the built one is left as it is.
// Usage: bench_cli_jobs [rounds] [seconds per clip]
#include "BenchSupport.h"
#include "JobsBenchSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kAppDir = QStringLiteral(TOVEL_APP_DIR);
constexpr int kClips = 8;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    JobsBenchSetup setup;
    if (!setup.make(kAppDir, kClips, argc, argv, 3))
        return 1;
    const auto& [work, home, profile, clips, rounds, seconds] = setup;

    std::printf("tovel-cli, %d clips of %.1f s 640x480 with \"%s\", best of %d rounds\n", kClips,
                seconds, qPrintable(profile), rounds);
    std::vector<double> fastest;
    for (int jobs : {1, 2}) {
        const double ms = best(rounds, [&](int round) {
            const QString out = work.path() + QStringLiteral("/out-%1-%2").arg(jobs).arg(round);
            return runProgram(home + "tovel-cli",
                              QStringList{"--profile", profile, "--output", out, "--jobs",
                                          QString::number(jobs), "--"} +
                                  clips,
                              600000);
        });
        if (ms < 0) {
            std::fprintf(stderr, "--jobs %d failed\n", jobs);
            return 1;
        }
        fastest.push_back(ms);
        std::printf("  --jobs %d: %8.0f ms\n", jobs, ms);
    }
    std::printf("  ratio --jobs 2 / --jobs 1: %.2f (%d cores here)\n", fastest[1] / fastest[0],
                QThread::idealThreadCount());
    return 0;
}
