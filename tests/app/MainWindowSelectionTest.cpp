// The window as a user of today's converters expects it: several rows edited at once, the first
// profile and its groups, and the room of an enlarged window used.
#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CJobList.h"
#include "CParamTree.h"
#include "CParamTreeInfo.h"
#include "CParamTreeItem.h"
#include "CProfileEditor.h"
#include "ConversionJob.h"
#include "MainDialogIds.h"
#include "ProfileBoxMarks.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>

namespace {

QByteArray valueLabelled(const ConversionJob* job, const QByteArray& label)
{
    for (const ProfileOption& option : job->profile->options)
        if (option.label == label && option.category == 1)
            return option.value;
    return "(none)";
}

} // namespace

TEST_F(WindowTest, SeveralSelectedRowsTakeAProfileAnEditAndTheRowCommandsTogether)
{
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open();
    add({media("a.avi"), media("b.avi"), media("c.avi"), media("d.avi")});

    dlg->jobList()->setFocus();
    QTest::keyClick(dlg->jobList(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(dlg->jobs().SelectedRows(), QList<int>({0, 1, 2, 3}));
    const int flv = dlg->profileBox()->findText("FLV", Qt::MatchStartsWith);
    ASSERT_GT(flv, 0);
    dlg->profileBox()->setCurrentIndex(flv);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(cell(row, 3), "FLV") << row;
        EXPECT_TRUE(dlg->jobModel().job(row)->profile->name.startsWith("FLV")) << row;
    }

    // A value the rows do not share shows blank and stays each row's own until it is edited.
    dlg->jobs().SelectRow(0);
    typeInto("Bit Rate", "400");
    dlg->jobList()->SelectItems(0, 2);
    EXPECT_EQ(videoItem("Bit Rate")->ValueText(), "");
    typeInto("Video Size", "176x144");
    dlg->jobs().SelectRow(3);
    EXPECT_EQ(valueLabelled(dlg->jobModel().job(0), "Bit Rate"), "400");
    EXPECT_NE(valueLabelled(dlg->jobModel().job(1), "Bit Rate"), "400");
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(valueLabelled(dlg->jobModel().job(row), "Video Size"), "176x144") << row;
    EXPECT_NE(valueLabelled(dlg->jobModel().job(3), "Video Size"), "176x144");

    // Up moves a block; Remove takes every selected row.
    dlg->jobList()->SelectItems(1, 2);
    trigger(MainDialogIds::kUp);
    EXPECT_EQ(QStringList({cell(0, 1), cell(1, 1), cell(2, 1)}),
              QStringList({"b.avi", "c.avi", "a.avi"}));
    EXPECT_EQ(dlg->jobs().SelectedRows(), QList<int>({0, 1}));
    trigger(MainDialogIds::kFileRemove);
    ASSERT_EQ(dlg->jobModel().rowCount(), 2);
    EXPECT_EQ(cell(0, 1), "a.avi");
    EXPECT_EQ(cell(1, 1), "d.avi");
}

TEST_F(WindowTest, AFirstStartOffersTodaysH264UnderHeadingsThatCannotBeChosen)
{
    ASSERT_TRUE(TestMedia::writeFile(app("config.ini"), "[Config]\nOutput=" + out().toUtf8()));
    open();
    QComboBox* box = dlg->profileBox();
    EXPECT_EQ(box->currentText(), "MP4 - H.264 Video (Quality)");
    EXPECT_EQ(box->itemText(0), "Today's video");
    const auto* model = qobject_cast<QStandardItemModel*>(box->model());
    const int audio = box->findText("Audio only");
    ASSERT_GT(audio, 0);
    for (const int heading : {0, audio})
        EXPECT_FALSE(model->item(heading)->flags() & (Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    EXPECT_LT(box->findText("MP4 - H.265", Qt::MatchStartsWith), audio);
    EXPECT_GT(box->findText("VCD", Qt::MatchStartsWith), audio);

    // The keys step over a heading.
    box->setCurrentIndex(audio + 1);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->currentIndex(), audio - 1);
    EXPECT_EQ(ProfileBoxMarks::CatalogueIndex(*box, audio), -1);
}

TEST_F(WindowTest, EnlargedTheColumnsAndTheEditorShowTheirTextsWhole)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("a rather long name for a clip.avi"), 1.0));
    open();
    add({media("a rather long name for a clip.avi")});
    dlg->profileBox()->setCurrentIndex(
        dlg->profileBox()->findText("MP4 - H.264 Video (Quality)", Qt::MatchStartsWith));
    // The info pane grows to the focused item's whole help text.
    CParamTree* tree = dlg->editor().Tree();
    CParamTreeItem* quality = videoItem("Quality (CRF)");
    ASSERT_NE(quality, nullptr);
    tree->SetFocusedItem(quality);
    auto* info = qobject_cast<CParamTreeInfo*>(tree->InfoPane());
    ASSERT_NE(info, nullptr);
    ASSERT_GT(info->NeededHeight(info->width()), CParamTree::kInfoHeight) << "a text that needs it";
    EXPECT_GE(info->height(), info->NeededHeight(info->width()));
    dlg->resize(1280, 900);
    QApplication::processEvents();

    CCellListCtrl* list = dlg->jobList();
    const QFontMetrics metrics = list->fontMetrics();
    for (const int column : {2, 3}) {
        const int width = list->horizontalHeader()->sectionSize(column);
        EXPECT_GE(width, metrics.horizontalAdvance(cell(0, column)) + 8) << column;
        const QString title =
            list->cellModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        EXPECT_GE(width, list->horizontalHeader()->fontMetrics().horizontalAdvance(title) + 28)
            << width;
    }
    int widest = 0;
    tree->ForEachItem(nullptr, [&](CParamTreeItem* item) {
        if (!item->IsTopLevel())
            widest =
                std::max(widest, QFontMetrics(tree->NormalFont()).horizontalAdvance(item->Label()));
    });
    EXPECT_GT(tree->Divider(), widest) << "every label whole";

    // A column the user widens keeps its width at the next start.
    list->horizontalHeader()->resizeSection(3, list->horizontalHeader()->sectionSize(3) + 40);
    const int target = list->ColumnWidths().at(3);
    dlg.reset();
    open();
    add({media("a rather long name for a clip.avi")});
    EXPECT_EQ(dlg->jobList()->ColumnWidths().at(3), target);
}
