#include "Settings.h"
#include "AppFolder.h"
#include "CommandLineFiles.h"
#include "DefaultFolders.h"
#include "TestMedia.h"
#include "WriteLocations.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    void SetUp() override { AppFolder::setOverride(dir.path()); }
    void TearDown() override { AppFolder::setOverride(QString()); }
    QString config() const { return dir.filePath("config.ini"); }
    const Settings settings{WriteLocations::besideProgram(dir.path())};
};

TEST_F(SettingsTest, DefaultsWithoutConfigAndNothingCreated)
{
    settings.ReadStartup();
    EXPECT_EQ(settings.configFile(), dir.path() + "/config.ini");
    EXPECT_EQ(settings.configDefaults(), QString());
    EXPECT_STREQ(g_szVersion, "1.0.1");
    EXPECT_STREQ(g_szSoftName, "Tovel Video Converter");
    EXPECT_EQ(g_strOutput, DefaultFolders::output());
    EXPECT_FALSE(settings.ReadKeepGoing());
    EXPECT_EQ(Settings::WindowTitle(), "Tovel Video Converter 1.0.1");
    EXPECT_EQ(settings.ReadProfileIndex(), 0);
    EXPECT_FALSE(QFile::exists(config()));
}

TEST_F(SettingsTest, OverLongNamesAreCutToTheirBuffersButTheOutputFolderIsReadWhole)
{
    ASSERT_TRUE(TestMedia::writeFile(config(), "[Config]\nversion=" + QByteArray(40, 'v') +
                                                   "\nSoftName=" + QByteArray(200, 's') +
                                                   "\nOutput=/" + QByteArray(300, 'o') + "\n"));
    settings.ReadStartup();
    EXPECT_EQ(QByteArray(g_szVersion), QByteArray(31, 'v'));
    EXPECT_EQ(QByteArray(g_szSoftName), QByteArray(127, 's'));
    EXPECT_EQ(g_strOutput, '/' + QString(300, 'o'));
    EXPECT_EQ(Settings::WindowTitle().size(), 127 + 1 + 31);
}

TEST_F(SettingsTest, ProfileIndexReadsLikeAtoiAndWritesDecimal)
{
    settings.ReadStartup();
    ASSERT_TRUE(TestMedia::writeFile(config(), "[Config]\nCProID=abc\n"));
    EXPECT_EQ(settings.ReadProfileIndex(), 0);
    ASSERT_TRUE(TestMedia::writeFile(config(), "[Config]\nCProID=12xyz\n"));
    EXPECT_EQ(settings.ReadProfileIndex(), 12);
    ASSERT_TRUE(TestMedia::writeFile(config(), "[Config]\nCProID=123456789\n"));
    EXPECT_EQ(settings.ReadProfileIndex(), 1234567); // 8-byte buffer

    QFile::remove(config());
    settings.WriteProfileChoice(4, "Zeta");
    settings.WriteOutput("/media/out dir");
    EXPECT_EQ(settings.ReadProfileIndex(), 4);
    EXPECT_TRUE(TestMedia::readFile(config()).contains("CProName=Zeta"));
    settings.ReadStartup();
    EXPECT_EQ(g_strOutput, "/media/out dir");

    settings.WriteKeepGoing(true);
    EXPECT_TRUE(settings.ReadKeepGoing());
    settings.WriteKeepGoing(false);
    EXPECT_FALSE(settings.ReadKeepGoing());
}

} // namespace

TEST(CommandLineFiles, NamesBecomeAbsoluteAndOptionsAreSkippedUntilTheEnd)
{
    QStringList unknown;
    EXPECT_EQ(CommandLineFiles({"clip 1%.avi", "-x", "/abs/b.mov", "../up.mp3", "--", "-dash.avi"},
                               "/home/me/videos", &unknown),
              QStringList({"/home/me/videos/clip 1%.avi", "/abs/b.mov", "/home/me/up.mp3",
                           "/home/me/videos/-dash.avi"}));
    EXPECT_EQ(unknown, QStringList{"-x"});
    // A file whose name begins with a dash is the file, with or without "--".
    QTemporaryDir folder;
    ASSERT_TRUE(TestMedia::writeFile(folder.filePath("-clip.mp4"), "x"));
    EXPECT_EQ(CommandLineFiles({"-clip.mp4"}, folder.path()),
              QStringList{folder.filePath("-clip.mp4")});
    EXPECT_TRUE(CommandLineAsksHelp({"a.mp4", "--help"}));
    EXPECT_FALSE(CommandLineAsksHelp({"--", "--help"}));
}
