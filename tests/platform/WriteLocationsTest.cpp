#include "WriteLocations.h"
#include "PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A home of its own, with the XDG variables set for the length of a test.
class WriteLocationsTest : public ::testing::Test
{
protected:
    QTemporaryDir home, app;
    QByteArray saved[4];
    const char* names[4] = {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"};

    void SetUp() override
    {
        for (int i = 0; i < 4; ++i)
            saved[i] = qgetenv(names[i]);
        qputenv("HOME", QFile::encodeName(home.path()));
        for (int i = 1; i < 4; ++i)
            qunsetenv(names[i]);
    }
    void TearDown() override
    {
        for (int i = 0; i < 4; ++i)
            saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
    }
    QString at(const QString& path) const { return home.path() + path; }
};

TEST_F(WriteLocationsTest, AWritableApplicationFolderKeepsEverythingBesideTheProgram)
{
    const WriteLocations where = WriteLocations::decide(app.path());
    EXPECT_TRUE(where.isBesideProgram());
    EXPECT_EQ(where.configFile(), app.path() + "/config.ini");
    EXPECT_TRUE(where.configDefaults().isEmpty());
    EXPECT_EQ(where.traceFile(), app.path() + "/trace.log");
    EXPECT_EQ(where.stateFolder(), app.path() + "/");
    EXPECT_TRUE(where.problem().isEmpty());
    EXPECT_TRUE(QDir(home.path()).isEmpty()) << "nothing made in the user's home";
}

TEST_F(WriteLocationsTest, TheUsersFoldersFollowAbsoluteXdgValuesOnly)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(at("/conf")));
    qputenv("XDG_STATE_HOME", "relative/state");
    qputenv("XDG_DATA_HOME", "");
    const WriteLocations where = WriteLocations::perUser(app.path());
    EXPECT_FALSE(where.isBesideProgram());
    EXPECT_EQ(where.configFile(), at("/conf/tovel/config.ini"));
    EXPECT_EQ(where.configDefaults(), app.path() + "/config.ini");
    EXPECT_EQ(where.traceFile(), at("/.local/state/tovel/trace.log"));
    EXPECT_EQ(where.dataFolder(), at("/.local/share/tovel/"));
    EXPECT_TRUE(QFileInfo(at("/conf/tovel")).isDir() &&
                QFileInfo(at("/.local/state/tovel")).isDir());
    EXPECT_TRUE(where.problem().isEmpty()) << where.problem().toStdString();
}

TEST_F(WriteLocationsTest, WhatCannotBeMadeOrReadIsSaidAndNamed)
{
    ASSERT_TRUE(QDir().mkpath(at("/.config/tovel/config.ini")));
    QFile blocker(at("/.local"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString problem = WriteLocations::perUser(app.path()).problem();
    EXPECT_TRUE(problem.contains("The folder " + at("/.local/state/tovel/") + " cannot be created"))
        << problem.toStdString();
    EXPECT_TRUE(
        problem.contains(at("/.config/tovel/config.ini") + " cannot be read (it is a folder)"))
        << problem.toStdString();
}

TEST(PrivateProfileLayered, TheUsersKeyWinsAMissingOneComesFromTheDefaults)
{
    QTemporaryDir dir;
    const QString user = dir.filePath("user.ini");
    const QString packaged = dir.filePath("packaged.ini");
    ASSERT_TRUE(PrivateProfile::writeString(user, "Config", "CProID", "3"));
    ASSERT_TRUE(PrivateProfile::writeString(packaged, "Config", "CProID", "1"));
    ASSERT_TRUE(PrivateProfile::writeString(packaged, "config", "OUTPUT", "'/srv/videos'"));
    EXPECT_EQ(PrivateProfile::readLayered(user, packaged, "Config", "CProID", "0", 8), "3");
    EXPECT_EQ(PrivateProfile::readLayered(user, packaged, "Config", "Output", "none", 260),
              "/srv/videos");
    EXPECT_EQ(PrivateProfile::readLayered(user, packaged, "Config", "Output", "none", 5), "/srv");
    EXPECT_EQ(PrivateProfile::readLayered(user, packaged, "Config", "SoftName", "none", 128),
              "none");
    EXPECT_EQ(PrivateProfile::readLayered(dir.filePath("absent.ini"), QString(), "Config", "CProID",
                                          "0", 8),
              "0");
}

} // namespace
