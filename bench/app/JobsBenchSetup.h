#pragma once

#include "PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>

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
        if (!runProgram("ffmpeg", args, 120000)) {
            std::fprintf(stderr, "ffmpeg could not make %s\n", qPrintable(clip));
            return {};
        }
        clips << clip;
    }
    return clips;
}

// The folders and clips of one bench run, made by `make`.
struct JobsBenchSetup
{
    QTemporaryDir work;
    QString home = work.path() + "/app/";
    QString profile;
    QStringList clips;

    // Copies the built program from `appDir` and makes `count` clips of `seconds`; false, said
    // on standard error, when the build lacks the tool or an MP4 profile or ffmpeg failed.
    bool make(const QString& appDir, int count, double seconds)
    {
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
