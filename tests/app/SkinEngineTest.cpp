#include "CAboutDlg.h"
#include "CLinkStatic.h"
#include "CSkinEngine.h"
#include "TestMedia.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
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

namespace {

// How many pixels of `image` are close to `colour` (anti-aliased text keeps its core).
int pixelsNear(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) + qAbs(pixel.green() - colour.green()) +
                    qAbs(pixel.blue() - colour.blue()) <
                60)
                ++count;
        }
    return count;
}

} // namespace

TEST(SkinEngine, TheAboutLinkKeepsItsOwnColoursUnderTheShippedSkin)
{
    CSkinEngine skin;
    skin.start();
    ASSERT_TRUE(skin.loadSkinFile(TestMedia::sourceDir() + "skin/skin.smf"));
    skin.setDialogSkinName("Dialog");
    CAboutDlg about(&skin);
    about.show();
    ASSERT_FALSE(about.styleSheet().isEmpty()) << "the dialog is skinned";
    const QColor skinText(0x1c, 0x27, 0x33);

    QImage normal = about.link()->grab().toImage();
    EXPECT_GT(pixelsNear(normal, CLinkStatic::linkColor()), 5);
    EXPECT_EQ(pixelsNear(normal, skinText), 0);

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(about.link(), &enter);
    EXPECT_GT(pixelsNear(about.link()->grab().toImage(), CLinkStatic::hoverColor()), 5);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(about.link(), &leave);
    about.link()->SetVisited(true);
    EXPECT_GT(pixelsNear(about.link()->grab().toImage(), CLinkStatic::visitedColor()), 5);
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
