// Profiles the installed FFmpeg cannot make, and profiles the user saves from a row.
#include "CConverterDlg.h"
#include "CJobList.h"
#include "CParamTree.h"
#include "CParamTreeItem.h"
#include "CProfileEditor.h"
#include "EncoderTool.h"
#include "ProfileBoxMarks.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class UserProfilesTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // Copies, not the shared folder: this program's folder is writable, so the user's
        // profiles are saved in it.
        ASSERT_TRUE(QFile::remove(app("profiles")));
        ASSERT_TRUE(QDir().mkpath(app("profiles")));
        const QDir shipped(TestMedia::appDir() + "profiles");
        shippedCount = 0;
        for (const QString& name : shipped.entryList({"*.pf"}, QDir::Files)) {
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), app("profiles/") + name));
            ++shippedCount;
        }
        ASSERT_TRUE(TestMedia::makeVideo(media("clip.mp4"), 1.0, "160x120", 25, true));
    }

    // Answers the next name question with `name`.
    void answerName(const QString& name)
    {
        answers->hold(true);
        auto* timer = new QTimer(dlg.get());
        QObject::connect(timer, &QTimer::timeout, [this, timer, name] {
            auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!ask)
                return;
            timer->stop();
            ask->setTextValue(name);
            ask->accept();
            answers->hold(false);
        });
        timer->start(20);
    }

    void saveAs(const QString& name)
    {
        answerName(name);
        QAction* entry = dlg->findChild<QAction*>("command32803");
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text(), "Save as &Profile...");
        EXPECT_EQ(dlg->menus().popup->actions().last(), entry); // after the entries it had
        entry->trigger();
    }

    int shippedCount = 0;
};

TEST_F(UserProfilesTest, AnUnavailableProfileKeepsItsPlaceIsMarkedAndFailsBeforeTheTool)
{
    ASSERT_TRUE(TestMedia::writeFile(app("profiles/99-missing.pf"),
                                     "[Main]\nName=Missing Encoder\nSName=Odd\nFormat=mp4\n"
                                     "ExtName=mp4\n\n[Parameter]\nf=,,mp4\nvcodec=,,libnosuch\n"));
    open();
    QComboBox* box = dlg->profileBox();
    const int missing = box->findText("Missing Encoder (unavailable)");
    ASSERT_GT(missing, 0);
    // Listed after every shipped profile, so that theirs keep their index.
    EXPECT_EQ(ProfileBoxMarks::CatalogueIndex(*box, missing), shippedCount);
    box->setCurrentIndex(missing);
    EXPECT_TRUE(box->toolTip().contains("no video encoder \"libnosuch\""))
        << box->toolTip().toStdString();

    add({media("clip.mp4")});
    ASSERT_EQ(dlg->jobModel().rowCount(), 1);
    // Refused at Encode with its reason, as tovel-cli refuses it; nothing starts.
    click(1015);
    ASSERT_EQ(answers->texts(),
              QStringList{"The profile \"Missing Encoder\" cannot be used: unavailable: the "
                          "installed FFmpeg has no video encoder \"libnosuch\""});
    EXPECT_FALSE(dlg->IsConverting());
    EXPECT_EQ(cell(0, 4), "Ready");
    EXPECT_FALSE(QFileInfo::exists(app("trace.log"))); // the tool never ran
    box->setCurrentIndex(ProfileBoxMarks::EntryOf(*box, 0));
    EXPECT_TRUE(box->toolTip().isEmpty());
}

TEST_F(UserProfilesTest, ASavedRowConvertsWithItsValuesAndSurvivesARestart)
{
    open();
    add({media("clip.mp4")});
    ASSERT_EQ(dlg->jobModel().rowCount(), 1);
    dlg->jobs().SelectRow(0);
    // The user picks another size in the editor.
    CParamTreeItem* size = nullptr;
    dlg->editor().Tree()->ForEachItem(nullptr, [&](CParamTreeItem* each) {
        if (!size && each->Label() == "Video Size" && CProfileEditor::CategoryOf(each) == 1)
            size = each;
    });
    ASSERT_NE(size, nullptr);
    ASSERT_TRUE(dlg->editor().Tree()->ActivateItem(size, false));
    if (auto* box = qobject_cast<QComboBox*>(size->EditorWidget()))
        box->setCurrentText("176x144"); // picked from the list, or typed where it takes text
    else
        qobject_cast<QLineEdit*>(size->EditorWidget())->setText("176x144");
    dlg->editor().Tree()->EndEditing(size);
    ASSERT_EQ(size->ValueText(), "176x144");

    saveAs("MP4 - MPEG-4 Video"); // a shipped profile's name
    EXPECT_TRUE(answers->texts().join('\n').contains("There is already a profile named \"MP4 - "
                                                     "MPEG-4 Video\""))
        << answers->texts().join('\n').toStdString();
    saveAs("My Small MP4");
    // Under a heading of the user's own, last.
    const int count = dlg->profileBox()->count();
    EXPECT_EQ(dlg->profileBox()->itemText(count - 2), "Your own");
    EXPECT_EQ(dlg->profileBox()->itemText(count - 1), "My Small MP4");
    saveAs("my small mp4"); // another user profile's name, in other letters
    EXPECT_TRUE(
        answers->texts().join('\n').contains("There is already a profile named \"My Small MP4\""));

    // A restart lists it after the shipped ones and converts with the saved size.
    dlg.reset();
    QFile::remove(app(EncoderTool::fileName()));
    open();
    const int saved = dlg->profileBox()->findText("My Small MP4");
    EXPECT_EQ(ProfileBoxMarks::CatalogueIndex(*dlg->profileBox(), saved), shippedCount);
    dlg->profileBox()->setCurrentIndex(saved);
    add({media("clip.mp4")});
    encodeAndWait();
    ASSERT_EQ(cell(0, 4), "Completed") << TestMedia::readFile(app("trace.log")).toStdString();
    const QStringList streams = TestMedia::probe(out() + "/clip.mp4");
    EXPECT_TRUE(streams.contains("mpeg4|video|176|144")) << streams.join(' ').toStdString();
}

} // namespace

namespace {

TEST_F(UserProfilesTest, TheCropAConversionFoundShowsInTheEditorsInfo)
{
    ASSERT_TRUE(TestMedia::ffmpeg({"-f", "lavfi", "-i",
                                   "testsrc2=s=160x90:d=2,gblur=sigma=1.5,pad=160:120:0:15", "-c:v",
                                   "libx264", "-y", media("letterbox.mkv")}));
    open();
    dlg->profileBox()->setCurrentIndex(
        dlg->profileBox()->findText("MP4 - H.264 Video (Quality)", Qt::MatchStartsWith));
    add({media("letterbox.mkv")});
    encodeAndWait();
    ASSERT_EQ(cell(0, 4), "Completed") << TestMedia::readFile(app("trace.log")).toStdString();
    dlg->jobs().SelectRow(0);
    QString help;
    dlg->editor().Tree()->ForEachItem(nullptr, [&](CParamTreeItem* each) {
        if (each->Label() == "Crop")
            help = each->HelpText();
    });
    // The bands are 15 pixels; the crop keeps even sizes and never cuts picture.
    EXPECT_TRUE(help.contains(QRegularExpression(
        "\nFound by the last conversion on 12 samples: 1[46]:1[46]:0:0 \\(top:bottom")))
        << help.toStdString();
}

} // namespace
