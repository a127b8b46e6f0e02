#pragma once

// tovel-cli with the real encoder tool, in an application folder of its own with the shipped
// profiles, as the terminal-program suites share it.
#include "EncoderToolContract.h"
#include "PrivateProfile.h"
#include "ProgramRun.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Result = ProgramResult;

struct ShippedProfile
{
    QString name;
    QByteArray format;
};

inline QList<ShippedProfile> shippedProfiles()
{
    QList<ShippedProfile> profiles;
    const QDir folder(TestMedia::appDir() + "profiles");
    for (const QFileInfo& file : folder.entryInfoList({"*.pf"}, QDir::Files, QDir::Name)) {
        const QString path = file.filePath();
        const QByteArray name = PrivateProfile::readString(path, "Main", "Name", "", 300);
        if (!name.isEmpty())
            profiles.append({QString::fromLocal8Bit(name),
                             PrivateProfile::readString(path, "Main", "Format", "", 1000)});
    }
    return profiles;
}

inline QString shippedCli()
{
    return TestMedia::appDir() + "tovel-cli";
}

// Converts with the first shipped MP4 profile into `out()`.
class RealToolCliTest : public ::testing::Test
{
protected:
    QTemporaryDir app;
    QTemporaryDir work;
    QString mp4;

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(TestMedia::appDir() + "encode").isExecutable())
            << "the encoder tool is not built";
        for (const ShippedProfile& profile : shippedProfiles())
            if (profile.format.compare("mp4", Qt::CaseInsensitive) == 0 && mp4.isEmpty())
                mp4 = profile.name;
        ASSERT_FALSE(mp4.isEmpty()) << "no shipped MP4 profile";
        ASSERT_TRUE(QFile::copy(shippedCli(), app.path() + "/tovel-cli"));
        QFile(app.path() + "/tovel-cli")
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(QFile::link(TestMedia::appDir() + "encode", app.path() + "/encode"));
        const QDir shipped(TestMedia::appDir() + "profiles");
        ASSERT_TRUE(QDir(app.path()).mkdir("profiles"));
        for (const QString& name : shipped.entryList({"*.pf"}, QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), app.path() + "/profiles/" + name));
    }

    QString out() const { return work.path() + "/out"; }
    // A 20 s H.264 clip with a key frame every second, cut into 2 s segments under
    // shortSegments(): long enough to be stopped while it converts.
    static bool makeRecording(const QString& path)
    {
        return TestMedia::ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25", "-t", "20",
                                  "-c:v", "libx264", "-g", "25", "-y", path});
    }
    static QProcessEnvironment shortSegments()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(EncoderToolContract::kSegmentSecondsVariable, "2");
        return env;
    }
    Result convert(const QStringList& arguments)
    {
        return runProgram(app.path() + "/tovel-cli",
                          QStringList{"--profile", mp4, "--output", out()} + arguments);
    }
    QStringList commandLines(const Result& result) const
    {
        return result.out.split('\n').filter(QRegularExpression("^" + app.path() + "/encode "));
    }
};
