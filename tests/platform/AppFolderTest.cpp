#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

TEST(AppFolder, IsTheExecutablesFolderWithATrailingSeparatorNotTheWorkingFolder)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    const QString folder = AppFolder::path();
    QDir::setCurrent(before);
    EXPECT_TRUE(folder.endsWith('/'));
    EXPECT_EQ(folder, QCoreApplication::applicationDirPath() + '/');

    AppFolder::setOverride("/opt/tovel");
    EXPECT_EQ(AppFolder::path(), "/opt/tovel/");
    AppFolder::setOverride(QString());
    EXPECT_EQ(AppFolder::path(), folder);
}
