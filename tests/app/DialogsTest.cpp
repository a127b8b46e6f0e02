#include "AppFolder.h"
#include "CAboutDlg.h"
#include "CCodecInfoDlg.h"
#include "CLinkStatic.h"
#include "CSkinEngine.h"
#include "CodecDownload.h"
#include "HelpCommand.h"
#include "Settings.h"
#include "TestMedia.h"
#include "WaitFor.h"
#include "WriteLocations.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// An application folder of its own for each test.
class AppFolderFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(appDir.isValid());
        AppFolder::setOverride(appDir.path());
    }
    void TearDown() override { AppFolder::setOverride(QString()); }

    // A stand-in codec downloader that leaves a marker file when it runs.
    QString writeDownloader(const QString& folder)
    {
        const QString program = folder + QStringLiteral("/CodecDownload");
        const QString marker = appDir.filePath(QStringLiteral("downloader ran"));
        TestMedia::writeFile(program, "#!/bin/sh\necho \"$0\" > '" + marker.toUtf8() + "'\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
        return marker;
    }
    // Waits until the downloader has written its whole line.
    static ::testing::AssertionResult waitForFile(const QString& path)
    {
        return waitFor([&] { return TestMedia::readFile(path).endsWith('\n'); }, 30000,
                       "the downloader's line");
    }

    QTemporaryDir appDir;
};

QString labelText(const QDialog& dialog, const char* name)
{
    const auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

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

TEST_F(AppFolderFixture, AboutShowsNameVersionAndUnderlinedLink)
{
    // No config.ini: the defaults.
    Settings(WriteLocations::besideProgram(appDir.path())).ReadStartup();
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "About");
    EXPECT_EQ(dlg.softNameLabel()->text(), "Tovel Video Converter");
    EXPECT_EQ(dlg.versionLabel()->text(), "Version 1.0.1");
    EXPECT_EQ(dlg.link()->Underline(), 1);
    EXPECT_TRUE(dlg.link()->Address().startsWith("http"));
    EXPECT_FALSE(dlg.legalNotice()->text().isEmpty());
    EXPECT_EQ(dlg.okButton()->text(), "OK");

    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(AppFolderFixture, AboutFollowsTheSettingsVerbatim)
{
    ASSERT_TRUE(
        TestMedia::writeFile(appDir.filePath(QStringLiteral("config.ini")),
                             "[Config]\r\nversion=2.0 %s beta\r\nSoftName=My <b>Tool</b>\r\n"));
    Settings(WriteLocations::besideProgram(appDir.path())).ReadStartup();
    CAboutDlg dlg;
    EXPECT_EQ(dlg.softNameLabel()->text(), "My <b>Tool</b>");
    EXPECT_EQ(dlg.versionLabel()->text(), "Version 2.0 %s beta");
    EXPECT_EQ(dlg.softNameLabel()->textFormat(), Qt::PlainText);
}

TEST_F(AppFolderFixture, InformationDialogTextsAndCodecDownloadKeepsItOpen)
{
    const QString marker = writeDownloader(appDir.path());
    CCodecInfoDlg dlg;
    dlg.setFileName(QStringLiteral("holiday 100% \"best\".avi"));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

    EXPECT_EQ(dlg.windowTitle(), "Information");
    EXPECT_EQ(dlg.fileNameLabel()->text(), "holiday 100% \"best\".avi");
    EXPECT_EQ(labelText(dlg, "decodeLine1"),
              "can not be decoded, please click \"Codec Download\" ");
    EXPECT_EQ(labelText(dlg, "decodeLine2"), "button to download Codecs and install them.");
    bool hasInputLabel = false;
    for (const QLabel* label : dlg.findChildren<QLabel*>())
        hasInputLabel = hasInputLabel || label->text() == "Input file:";
    EXPECT_TRUE(hasInputLabel);
    EXPECT_EQ(dlg.okButton()->text(), "OK");
    EXPECT_EQ(dlg.codecDownloadButton()->text(), "Codec Download");

    QTest::mouseClick(dlg.codecDownloadButton(), Qt::LeftButton);
    EXPECT_TRUE(waitForFile(marker));
    EXPECT_TRUE(dlg.isVisible());
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(AppFolderFixture, CodecDownloadFromTheAppFolderThenThePathSilentWhenMissing)
{
    QTemporaryDir pathDir;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", pathDir.path().toUtf8());
    EXPECT_FALSE(StartCodecDownload());

    const QString marker = writeDownloader(pathDir.path());
    EXPECT_TRUE(StartCodecDownload());
    ASSERT_TRUE(waitForFile(marker));
    EXPECT_TRUE(TestMedia::readFile(marker).startsWith(pathDir.path().toUtf8()));
    QFile::remove(marker);

    writeDownloader(appDir.path());
    EXPECT_TRUE(StartCodecDownload());
    ASSERT_TRUE(waitForFile(marker));
    EXPECT_TRUE(TestMedia::readFile(marker).startsWith(appDir.path().toUtf8()));
    qputenv("PATH", savedPath);
}

TEST_F(AppFolderFixture, HelpOpensTheIntroductionBesideTheProgram)
{
    EXPECT_EQ(HelpCommand::TopicPath(), appDir.path() + "/help/introduction.htm");
    QStringList asked;
    BrowserLaunchHooks hooks;
    hooks.openWithDesktop = [&asked](const QString& address, int) {
        asked << address;
        return kLaunchSucceeded;
    };
    hooks.start = [](const QString&, const QStringList&, int) { return kLaunchSucceeded; };
    HelpCommand::Show(hooks);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(QUrl(asked[0]).toLocalFile(), HelpCommand::TopicPath());
}

TEST(HelpPages, BuiltIntoTheApplicationFolder)
{
    const QByteArray page = TestMedia::readFile(TestMedia::appDir() + "help/introduction.htm");
    ASSERT_FALSE(page.isEmpty());
    for (const char* topic : {"Adding files", "Profiles", "option editor", "Encoding", "Stopping",
                              "Preferences", "trace.log"})
        EXPECT_TRUE(page.contains(topic)) << topic;
}

TEST(AboutUnderSkin, TheLinkKeepsItsOwnColoursUnderTheShippedSkin)
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
