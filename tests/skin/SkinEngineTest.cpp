#include "CSkinEngine.h"
#include "TestMedia.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SkinEngine, SkinsWindowsAndLaterDialogsFromTheSkinFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("skin.smf");
    ASSERT_TRUE(TestMedia::writeFile(file,
                                     "; comment\r\n[Dialog]\r\nQDialog { background: red; }\r\n"
                                     "[Other]\nQLabel { color: blue; }\n"));
    CSkinEngine skin;
    ASSERT_TRUE(skin.start());
    ASSERT_TRUE(skin.loadSkinFile(file));
    EXPECT_TRUE(skin.styleSheet("dialog").contains("background: red"));

    QDialog main;
    EXPECT_TRUE(skin.skinWindow(&main, "Dialog"));
    EXPECT_TRUE(main.styleSheet().contains("background: red"));
    EXPECT_FALSE(skin.skinWindow(&main, "NoSuchObject"));

    skin.setDialogSkinName(QByteArray("Dialog") + QByteArray(60, 'x'));
    EXPECT_EQ(skin.dialogSkinName().size(), 50);
    skin.setDialogSkinName("Dialog");
    QDialog later;
    later.show();
    EXPECT_TRUE(later.styleSheet().contains("background: red"));

    skin.shutdown();
}

TEST(SkinEngine, MissingOrBrokenFileLeavesWindowsUnskinned)
{
    QTemporaryDir dir;
    CSkinEngine skin;
    skin.start();
    EXPECT_FALSE(skin.loadSkinFile(dir.filePath("none.smf")));
    ASSERT_TRUE(
        TestMedia::writeFile(dir.filePath("bad.smf"), QByteArray("\x00\x01garbage\xff", 11)));
    EXPECT_FALSE(skin.loadSkinFile(dir.filePath("bad.smf")));
    QDialog dlg;
    EXPECT_FALSE(skin.skinWindow(&dlg, "Dialog"));
    EXPECT_TRUE(dlg.styleSheet().isEmpty());
    skin.shutdown();
}
