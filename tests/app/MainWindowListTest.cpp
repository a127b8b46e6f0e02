// The job list as a user drives it: admission by Add and by drops, the two looks of the list,
// row commands, the Profile box and the output folder.
#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CImageButton.h"
#include "CJobList.h"
#include "CPreviewPanel.h"
#include "ConversionJob.h"
#include "JobListDrawing.h"
#include "ProfileBoxMarks.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {

QStringList menuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

TEST_F(WindowTest, StartsWithTheEmptyListTheCatalogueTheOutputAndTheMenus)
{
    ASSERT_TRUE(TestMedia::writeFile(app("config.ini"), "[Config]\nOutput=/srv/out\nCProID=2\n"));
    open();
    EXPECT_TRUE(dlg->listDrawing().IsEmptyState());
    EXPECT_EQ(dlg->jobList()->GetColumnCount(), 0);
    EXPECT_GT(dlg->profileBox()->count(), 10);
    EXPECT_EQ(
        ProfileBoxMarks::CatalogueIndex(*dlg->profileBox(), dlg->profileBox()->currentIndex()), 2);
    EXPECT_EQ(dlg->outputBox()->text(), "/srv/out");

    const QStringList captions{"Add", "Remove", "Clear", "Encode", "Stop"};
    const QStringList tips{"Add media file to control list", "Remove file from the following list",
                           "Remove all file from the following list", "Start convert",
                           "Stop convert"};
    const int ids[] = {1006, 1007, 1008, 1015, 1018};
    for (int i = 0; i < 5; ++i) {
        auto* button = qobject_cast<CImageButton*>(control(ids[i]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), captions[i]);
        EXPECT_EQ(button->TooltipText(), tips[i]);
        EXPECT_FALSE(button->grab().isNull());
    }

    const QList<QAction*> top = dlg->menus().bar->actions();
    QStringList titles;
    for (const QAction* action : top)
        titles << action->text();
    EXPECT_EQ(titles,
              QStringList({"    &File    ", "    &Edit    ", "    &Tools   ", "    &Help    "}));
    EXPECT_EQ(menuTexts(dlg->menus().file),
              QStringList({"&Add...", "Add &Folder...", "&Watch Folder...", "&Remove",
                           "&Remove All", "-", "&Exit"}));
    EXPECT_EQ(menuTexts(dlg->menus().popup),
              QStringList({"&Add", "&Remove", "&Remove All", "-", "&Play", "&Pause", "&Stop", "-",
                           "Co&mpare with Source", "Preview &Output Frame", "Copy &Command Line",
                           "Save as &Profile..."}));

    // Every control is found by screen readers and test tools through its name.
    for (QWidget* child : dlg->findChildren<QWidget*>()) {
        if (!child->property("controlId").isValid())
            continue;
        const QString name = QAccessible::queryAccessibleInterface(child)->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << child->objectName().toStdString();
    }
}

TEST_F(WindowTest, WindowGrowsWithTheDialogFont)
{
    open();
    EXPECT_EQ(dlg->jobList()->geometry(), dlg->templateRect(2, 37, 288, 176));
    const QSize normal = dlg->templateRect(0, 0, 409, 258).size();
    QFont large = dlg->font();
    large.setPointSizeF(large.pointSizeF() * 2);
    dlg->setFont(large);
    const QSize bigger = dlg->templateRect(0, 0, 409, 258).size();
    EXPECT_GT(bigger.width(), normal.width() * 3 / 2);
    EXPECT_GT(bigger.height(), normal.height() * 3 / 2);
}

TEST_F(WindowTest, AddAdmitsDecodableFilesAndTheListSwitchesLooks)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("first 100%.avi"), 2.0));
    ASSERT_TRUE(TestMedia::writeFile(media("notes.avi"), "not a video at all"));
    ASSERT_TRUE(TestMedia::makeAudio(media("third.mp3"), 1.0));
    open();
    add({media("first 100%.avi"), media("notes.avi"), media("third.mp3")});

    ASSERT_EQ(dlg->jobModel().rowCount(), 2);
    ASSERT_EQ(answers->seen.size(), 1);
    EXPECT_EQ(answers->seen[0].kind, "CCodecInfoDlg");
    EXPECT_EQ(dlg->jobs().SelectedRow(), 1);
    EXPECT_EQ(dlg->jobList()->GetFirstSelectedItem(), 1);

    CCellListCtrl* list = dlg->jobList();
    ASSERT_EQ(list->GetColumnCount(), 5);
    const int width = list->width() - 2;
    const int widths[] = {width * 4 / 64, width * 24 / 64, width * 8 / 64, width * 8 / 64};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(list->horizontalHeader()->sectionSize(column), widths[column]);
    EXPECT_EQ(list->horizontalHeader()->sectionSize(4),
              width - (widths[0] + widths[1] + widths[2] + widths[3]) - 2);
    EXPECT_EQ(cell(0, 1), "first 100%.avi");
    EXPECT_EQ(cell(0, 2), "00:00:02"); // the measured length, not the stored one + 1
    EXPECT_EQ(cell(0, 3), "MP4");
    EXPECT_EQ(cell(0, 4), "Ready");
    EXPECT_TRUE(checked(0) && checked(1));

    trigger(32772); // Remove: the second row goes, the first becomes selected
    ASSERT_EQ(dlg->jobModel().rowCount(), 1);
    EXPECT_EQ(dlg->jobs().SelectedRow(), 0);
    trigger(32773); // Remove All
    EXPECT_EQ(dlg->jobModel().rowCount(), 0);
    EXPECT_TRUE(dlg->listDrawing().IsEmptyState());
    EXPECT_EQ(list->GetColumnCount(), 0);
    add({media("third.mp3")});
    EXPECT_EQ(list->GetColumnCount(), 5);
    click(1007); // Remove the only row: back to the picture, then five columns again
    EXPECT_TRUE(dlg->listDrawing().IsEmptyState());
    add({media("third.mp3")});
    EXPECT_EQ(list->GetColumnCount(), 5);
}

TEST_F(WindowTest, DropsAdmitEachFileAndNameTheUndecodableOne)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    ASSERT_TRUE(TestMedia::writeFile(media("broken.mp4"), "junk"));
    open();
    drop({media("broken.mp4"), media("clip.avi")});
    ASSERT_TRUE(waitFor([this] { return dlg->jobModel().rowCount() == 1; }));
    EXPECT_EQ(answers->texts(), QStringList{"The file \"broken.mp4\" can not be decoded."});
    EXPECT_EQ(answers->seen[0].caption, "Error");
    EXPECT_EQ(dlg->jobList()->GetColumnCount(), 5);
    EXPECT_EQ(dlg->jobs().SelectedRow(), 0);
}

TEST_F(WindowTest, UpAndDownCarryCheckTextsAndJob)
{
    for (const char* name : {"a.avi", "b.avi", "c.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open();
    add({media("a.avi"), media("b.avi"), media("c.avi")});
    dlg->jobList()->SetCheck(2, 0, 0);
    dlg->jobList()->SetItemToolTip(2, 4, "why it failed");
    ConversionJob* moving = dlg->jobModel().job(2);
    ASSERT_EQ(dlg->jobs().SelectedRow(), 2);

    trigger(32778); // Down on the last row does nothing
    EXPECT_EQ(cell(2, 1), "c.avi");
    trigger(32777); // Up
    EXPECT_EQ(cell(1, 1), "c.avi");
    EXPECT_EQ(cell(2, 1), "b.avi");
    EXPECT_FALSE(checked(1));
    EXPECT_FALSE(dlg->jobModel().isChecked(1)) << "the worker's copy follows";
    EXPECT_TRUE(dlg->jobModel().isChecked(2));
    EXPECT_EQ(dlg->jobModel().job(1), moving);
    EXPECT_EQ(dlg->jobList()->GetItemData(1), moving);
    EXPECT_EQ(dlg->jobList()->cellModel()->data(dlg->jobList()->cellModel()->index(1, 4),
                                                Qt::ToolTipRole),
              "why it failed")
        << "a moved row keeps every cell, not only its texts";
    EXPECT_EQ(dlg->jobList()->GetFirstSelectedItem(), 1);
    trigger(32777);
    trigger(32777); // Up on the first row does nothing
    EXPECT_EQ(cell(0, 1), "c.avi");
    EXPECT_EQ(dlg->jobs().SelectedRow(), 0);

    trigger(32776); // UnCheck All, then Check All
    EXPECT_FALSE(checked(0) || checked(1) || checked(2));
    trigger(32775);
    EXPECT_TRUE(dlg->jobModel().isChecked(0) && dlg->jobModel().isChecked(1) &&
                dlg->jobModel().isChecked(2));
}

TEST_F(WindowTest, ProfileChangeRetargetsOnlyTheSelectedRowAndIsRemembered)
{
    for (const char* name : {"a.avi", "b.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open();
    add({media("a.avi"), media("b.avi")});
    dlg->jobs().SelectRow(0);
    const int flv = dlg->profileBox()->findText("FLV", Qt::MatchStartsWith);
    ASSERT_GT(flv, 0);
    dlg->profileBox()->setCurrentIndex(flv);

    EXPECT_EQ(cell(0, 3), "FLV");
    EXPECT_EQ(cell(1, 3), "MP4");
    EXPECT_TRUE(TestMedia::readFile(app("config.ini"))
                    .contains("CProID=" + QByteArray::number(ProfileBoxMarks::CatalogueIndex(
                                              *dlg->profileBox(), flv))));
    EXPECT_TRUE(TestMedia::readFile(app("config.ini"))
                    .contains("CProName=" + dlg->profileBox()->itemText(flv).toUtf8()));

    // Selecting the other row brings its profile back into the box.
    dlg->jobs().SelectRow(1);
    EXPECT_EQ(dlg->profileBox()->currentText(), "MP4 - MPEG-4 Video");
    dlg->jobs().SelectRow(0);
    EXPECT_EQ(dlg->profileBox()->currentIndex(), flv);

    // With no row selected, new rows get the chosen profile and no row changes.
    dlg->jobList()->clearSelection();
    EXPECT_EQ(dlg->jobs().SelectedRow(), -1);
    dlg->profileBox()->setCurrentIndex(flv);
    add({media("a.avi")});
    EXPECT_EQ(cell(2, 3), "FLV");
}

TEST_F(WindowTest, BrowseWritesTheOutputFolderAndTypingDoesNot)
{
    open();
    m_folderPick = media("picked") + '/';
    click(1014);
    EXPECT_EQ(dlg->outputBox()->text(), media("picked"));
    EXPECT_TRUE(
        TestMedia::readFile(app("config.ini")).contains("Output=" + media("picked").toUtf8()));

    dlg->outputBox()->setText("/typed/by/hand");
    m_folderPick.clear(); // cancelled
    click(1014);
    EXPECT_FALSE(TestMedia::readFile(app("config.ini")).contains("/typed/by/hand"));
    click(1019);
    EXPECT_EQ(m_opened, QStringList{"/typed/by/hand"});

    // A folder the system cannot hold is refused, not cut.
    const QString tooLong = media(QString(5000, 'x'));
    m_folderPick = tooLong;
    click(1014);
    EXPECT_EQ(answers->texts(),
              QStringList{"The output folder is too long for this system: " + tooLong});
    EXPECT_EQ(dlg->outputBox()->text(), "/typed/by/hand");
    EXPECT_FALSE(TestMedia::readFile(app("config.ini")).contains("xxxxx"));
}

TEST_F(WindowTest, ThePreviewPlaysTheSelectedRowAndAddStopsItButADropDoesNot)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("show.avi"), 3.0));
    ASSERT_TRUE(TestMedia::makeVideo(media("more.avi"), 1.0));
    open();
    add({media("show.avi")});
    trigger(32793); // the pop-up's "&Play"
    EXPECT_EQ(dlg->preview().state(), CPreviewPanel::Playing);
    EXPECT_EQ(dlg->preview().previewPath(), media("show.avi"));

    drop({media("more.avi")});
    ASSERT_TRUE(waitFor([this] { return dlg->jobModel().rowCount() == 2; }));
    EXPECT_EQ(dlg->preview().state(), CPreviewPanel::Playing);
    add({media("more.avi")});
    EXPECT_EQ(dlg->preview().state(), CPreviewPanel::Idle);
}
