// Prints the wall time of tovel-cli converting the same 8 short clips with --jobs 1 and with
// --jobs 2 (each run into a fresh folder), the best of a few rounds each, and their ratio.
// The program runs from an application folder of its own, so the built one is left as it is.
// Usage: bench_cli_jobs [rounds] [seconds per clip]
#include "PrivateProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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

bool run(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The first shipped profile whose format is MP4.
QString mp4Profile(const QString& folder)
{
    for (const QString& name : QDir(folder).entryList({"*.pf"}, QDir::Files, QDir::Name)) {
        const QString path = folder + name;
        if (PrivateProfile::readString(path, "Main", "Format", "", 100).toLower() == "mp4")
            return QString::fromLocal8Bit(
                PrivateProfile::readString(path, "Main", "Name", "", 300));
    }
    return QString();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const double seconds = argc > 2 ? std::max(0.5, atof(argv[2])) : 4.0;

    const QString profile = mp4Profile(kAppDir + "profiles/");
    if (profile.isEmpty() || !QFile::exists(kAppDir + "encode")) {
        std::fprintf(stderr, "needs the encoder tool and an MP4 profile in %s\n",
                     qPrintable(kAppDir));
        return 1;
    }
    QTemporaryDir work;
    const QString home = work.path() + "/app/";
    QDir().mkpath(home + "profiles");
    QFile::copy(kAppDir + "tovel-cli", home + "tovel-cli");
    QFile(home + "tovel-cli")
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::link(kAppDir + "encode", home + "encode");
    for (const QString& name : QDir(kAppDir + "profiles").entryList({"*.pf"}, QDir::Files))
        QFile::copy(kAppDir + "profiles/" + name, home + "profiles/" + name);

    QStringList clips;
    for (int i = 0; i < kClips; ++i) {
        const QString clip = work.path() + QStringLiteral("/clip%1.mov").arg(i);
        const QStringList args = {
            "-hide_banner",
            "-loglevel",
            "error",
            "-nostdin",
            "-y",
            "-f",
            "lavfi",
            "-i",
            QStringLiteral("testsrc=size=640x480:rate=25:duration=%1").arg(seconds),
            "-f",
            "lavfi",
            "-i",
            QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
            "-shortest",
            clip};
        if (!run("ffmpeg", args, 120000)) {
            std::fprintf(stderr, "ffmpeg could not make %s\n", qPrintable(clip));
            return 1;
        }
        clips << clip;
    }

    std::printf("tovel-cli, %d clips of %.1f s 640x480 with \"%s\", best of %d rounds\n", kClips,
                seconds, qPrintable(profile), rounds);
    std::vector<double> best;
    for (int jobs : {1, 2}) {
        double fastest = -1;
        for (int round = 0; round < rounds; ++round) {
            const QString out = work.path() + QStringLiteral("/out-%1-%2").arg(jobs).arg(round);
            QElapsedTimer clock;
            clock.start();
            const bool ok = run(home + "tovel-cli",
                                QStringList{"--profile", profile, "--output", out, "--jobs",
                                            QString::number(jobs), "--"} +
                                    clips,
                                600000);
            const double ms = double(clock.nsecsElapsed()) / 1e6;
            if (!ok) {
                std::fprintf(stderr, "--jobs %d failed\n", jobs);
                return 1;
            }
            fastest = fastest < 0 ? ms : std::min(fastest, ms);
        }
        best.push_back(fastest);
        std::printf("  --jobs %d: %8.0f ms\n", jobs, fastest);
    }
    std::printf("  ratio --jobs 2 / --jobs 1: %.2f (%d cores here)\n", best[1] / best[0],
                QThread::idealThreadCount());
    return 0;
}
