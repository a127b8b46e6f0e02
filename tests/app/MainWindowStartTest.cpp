#include "AppFolder.h"
#include "CConverterDlg.h"
#include "CSkinEngine.h"
#include "DefaultFolders.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MainWindowStart, TitleAndOutputBoxFromSettingsWithoutWritingConfig)
{
    QTemporaryDir appDir, workDir;
    AppFolder::setOverride(appDir.path());
    const QString before = QDir::currentPath();
    QDir::setCurrent(workDir.path());
    ASSERT_TRUE(TestMedia::writeFile(workDir.filePath("config.ini"), "[Config]\nversion=9\n"));
    {
        CSkinEngine skin;
        CConverterDlg dlg(&skin);
        EXPECT_EQ(dlg.windowTitle(), "Tovel Video Converter 1.0.1");
        EXPECT_EQ(dlg.outputBox()->text(), DefaultFolders::output());
        EXPECT_EQ(dlg.outputFolder(), DefaultFolders::output());
    }
    EXPECT_FALSE(QFile::exists(appDir.filePath("config.ini")));

    ASSERT_TRUE(
        TestMedia::writeFile(appDir.filePath("config.ini"),
                             "[Config]\r\nSoftName=My %s Converter\r\nOutput=/srv/out\r\n"));
    {
        CConverterDlg dlg(nullptr);
        EXPECT_EQ(dlg.windowTitle(), "My %s Converter 1.0.1");
        EXPECT_EQ(dlg.outputBox()->text(), "/srv/out");
    }
    QDir::setCurrent(before);
    AppFolder::setOverride(QString());
}
