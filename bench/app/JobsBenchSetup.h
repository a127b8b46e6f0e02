#pragma once

#include "BenchSupport.h"
#include "PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// What the two batch benches (tovel-cli alone, and the window beside it) set up alike: an
// application folder of their own with the built program, tool and profiles, and the clips.

// Runs `program` to its end within `timeoutMs`; true when it exited 0.
inline bool runProgram(const QString& program, const QStringList& args, int timeoutMs)
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

// The first shipped profile in `folder` whose format is MP4; empty when none.
inline QString mp4Profile(const QString& folder)
{
    for (const QString& name : QDir(folder).entryList({"*.pf"}, QDir::Files, QDir::Name)) {
        const QString path = folder + name;
        if (PrivateProfile::readString(path, "Main", "Format", "", 100).toLower() == "mp4")
            return QString::fromLocal8Bit(
                PrivateProfile::readString(path, "Main", "Name", "", 300));
    }
    return QString();
}

// Fills `home` (ending in '/') with a copy of tovel-cli, a link to the built encoder tool and
// copies of the profiles of `appDir`, so that runs leave the built folder as it is.
inline void makeAppFolder(const QString& appDir, const QString& home)
{
    QDir().mkpath(home + "profiles");
    QFile::copy(appDir + "tovel-cli", home + "tovel-cli");
    QFile(home + "tovel-cli")
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::link(appDir + "encode", home + "encode");
    for (const QString& name : QDir(appDir + "profiles").entryList({"*.pf"}, QDir::Files))
        QFile::copy(appDir + "profiles/" + name, home + "profiles/" + name);
}

// Makes `count` 640x480 clips with sound of `seconds` each in `folder`; empty when ffmpeg
// failed (said on standard error).
inline QStringList makeClips(const QString& folder, int count, double seconds)
{
    QStringList clips;
    for (int i = 0; i < count; ++i) {
        const QString clip = folder + QStringLiteral("/clip%1.mov").arg(i);
        const QStringList args =
            lavfiSourceArgs(QStringLiteral("testsrc=size=640x480:rate=25:duration=%1").arg(seconds),
                            QStringLiteral("sine=frequency=440:duration=%1").arg(seconds)) +
            QStringList{"-shortest", clip};
        if (!runProgram("ffmpeg", args, 120000)) {
            std::fprintf(stderr, "ffmpeg could not make %s\n", qPrintable(clip));
            return {};
        }
        clips << clip;
    }
    return clips;
}

// The folders, clips and round settings of one bench run, made by `make`.
struct JobsBenchSetup
{
    QTemporaryDir work;
    QString home = work.path() + "/app/";
    QString profile;
    QStringList clips;
    int rounds = 0;
    double seconds = 0;

    // Reads the rounds (argument 1, `defaultRounds` without it) and the clip length (argument
    // 2, 4 s without it), copies the built program from `appDir` and makes `count` clips; false,
    // said on standard error, when the build lacks the tool or an MP4 profile or ffmpeg failed.
    bool make(const QString& appDir, int count, int argc, char* argv[], int defaultRounds)
    {
        rounds = argc > 1 ? std::max(1, atoi(argv[1])) : defaultRounds;
        seconds = argc > 2 ? std::max(0.5, atof(argv[2])) : 4.0;
        profile = mp4Profile(appDir + "profiles/");
        if (profile.isEmpty() || !QFile::exists(appDir + "encode")) {
            std::fprintf(stderr, "needs the encoder tool and an MP4 profile in %s\n",
                         qPrintable(appDir));
            return false;
        }
        makeAppFolder(appDir, home);
        clips = makeClips(work.path(), count, seconds);
        return !clips.isEmpty();
    }
};
