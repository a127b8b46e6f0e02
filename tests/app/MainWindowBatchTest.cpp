// The batch as the user drives and sees it in the window: Encode, progress, the rows' final
// texts, failures, Stop, closing while converting, the enable states and Preferences.
#include "CBatchConverter.h"
#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CJobList.h"
#include "CParamTree.h"
#include "CParamTreeItem.h"
#include "CPreferencesDlg.h"
#include "CProfileEditor.h"
#include "EncoderTool.h"
#include "ListCellInfo.h"
#include "Preferences.h"
#include "ProgramRun.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

const QString kAccomplished = "    Mission accomplished!        ";
const QString kRunning = "The convert is running, please stop convert and then exit.";

} // namespace

TEST_F(WindowTest, EncodeWithNoCheckedRowSaysSo)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("a.avi"), 1.0));
    open();
    click(1015); // an empty list says so too
    EXPECT_EQ(answers->texts(), QStringList{"There is no selected file in list! "});
    add({media("a.avi")});
    trigger(32776);
    click(1015);
    EXPECT_EQ(answers->texts(), QStringList(2, "There is no selected file in list! "));
    EXPECT_EQ(answers->seen[0].caption, "Warning");
    EXPECT_FALSE(dlg->IsConverting());
}

TEST_F(WindowTest, ConvertsTheCheckedRowsWithTheRealTool)
{
    for (const char* name : {"one.avi", "two.avi", "three.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 2.0));
    open();
    add({media("one.avi"), media("two.avi"), media("three.avi")});
    dlg->jobList()->SetCheck(1, 0, 0);

    QList<int> progress;
    CCellListModel* model = dlg->jobList()->cellModel();
    QObject::connect(model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& first) {
        const ListCellInfo* status = model->cell(first.row(), 4);
        if (first.column() == 4 && status && status->progress)
            progress << first.row();
    });
    encodeAndWait();

    EXPECT_EQ(answers->texts(), QStringList{kAccomplished});
    EXPECT_EQ(cell(0, 4), "Completed");
    EXPECT_EQ(cell(1, 4), "Ready");
    EXPECT_EQ(cell(2, 4), "Completed");
    EXPECT_FALSE(checked(0) || checked(1) || checked(2));
    EXPECT_TRUE(progress.contains(0) && progress.contains(2));
    EXPECT_GT(TestMedia::probeDuration(out() + "/one.mp4"), 1.5);
    EXPECT_TRUE(QFile::exists(out() + "/three.mp4"));
    EXPECT_FALSE(QFile::exists(out() + "/two.mp4"));
    EXPECT_EQ(m_opened, QStringList{out()});
    EXPECT_TRUE(control(1015)->isEnabled());
    EXPECT_TRUE(dlg->menus().edit->menuAction()->isEnabled());
    EXPECT_TRUE(TestMedia::readFile(app("trace.log")).contains("one.avi"));
}

TEST_F(WindowTest, ARowMadeBlockyIsMarkedAndListedAtTheEnd)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("fine.avi"), 2.0, "320x240"));
    // Noise no small bit rate can keep.
    ASSERT_TRUE(TestMedia::ffmpeg({"-f", "lavfi", "-i",
                                   "testsrc2=size=320x240:duration=2,noise=alls=40:allf=t", "-c:v",
                                   "ffv1", media("blocky.avi")}));
    open();
    add({media("fine.avi"), media("blocky.avi")});
    dlg->jobs().SelectRow(1);
    typeInto("Bit Rate", "8");
    encodeAndWait();

    const ListCellInfo* fine = dlg->jobList()->cellModel()->cell(0, 4);
    const ListCellInfo* blocky = dlg->jobList()->cellModel()->cell(1, 4);
    EXPECT_EQ(cell(1, 4), "Completed");
    EXPECT_TRUE(blocky->tooltip.contains(QRegularExpression("SSIM 0\\.[0-8][0-9]*")))
        << blocky->tooltip.toStdString();
    EXPECT_TRUE(blocky->backColor.isValid()) << "the warning mark";
    EXPECT_FALSE(fine->backColor.isValid());
    EXPECT_TRUE(fine->tooltip.contains("SSIM 0.9")) << fine->tooltip.toStdString();
    ASSERT_EQ(answers->texts().size(), 1);
    EXPECT_TRUE(answers->texts()[0].contains("1 file below SSIM 0.95:\nblocky.avi: SSIM 0."))
        << answers->texts()[0].toStdString();
}

TEST_F(WindowTest, AFailingRowEndsTheBatch)
{
    for (const char* name : {"one.avi", "two.avi", "three.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open();
    add({media("one.avi"), media("two.avi"), media("three.avi")});
    // The second row's output name is taken by a folder, so its conversion cannot write.
    ASSERT_TRUE(QDir().mkpath(out() + "/two.mp4"));
    g_bOverwrite = 1;
    encodeAndWait();

    EXPECT_EQ(cell(0, 4), "Completed");
    EXPECT_EQ(cell(1, 4), "Fail");
    EXPECT_EQ(cell(2, 4), "Ready");
    EXPECT_TRUE(checked(1) && checked(2));
    ASSERT_EQ(answers->seen.size(), 1);
    EXPECT_TRUE(answers->seen[0].text.startsWith("Convert fail,please send the trace file:"));
    EXPECT_TRUE(answers->seen[0].text.contains(app("trace.log")));
    EXPECT_EQ(m_opened.size(), 1);
    EXPECT_TRUE(control(1015)->isEnabled());
}

TEST_F(WindowTest, AWatchedFolderAddsWhatArrivesAndConvertsItWhileNoBatchRuns)
{
    const QString in = media("inbox");
    ASSERT_TRUE(QDir().mkpath(in));
    ASSERT_TRUE(TestMedia::makeVideo(in + "/a.avi", 0.5));
    open();
    m_folderPick = in;
    trigger(32804);
    QAction* entry = dlg->menus().action(32804);
    EXPECT_TRUE(entry->isChecked());
    ASSERT_TRUE(waitFor([this] { return cell(0, 4) == "Completed"; }));
    ASSERT_TRUE(TestMedia::makeVideo(in + "/b.avi", 0.5));
    ASSERT_TRUE(
        waitFor([this] { return dlg->jobModel().rowCount() == 2 && cell(1, 4) == "Completed"; }));
    EXPECT_GT(TestMedia::probeDuration(out() + "/b.mp4"), 0.2);
    trigger(32804);
    EXPECT_FALSE(entry->isChecked());
}

TEST_F(WindowTest, PauseBecomesResumeLeavesTheRestEditableAndResumeConvertsIt)
{
    for (const char* name : {"a-slow.avi", "b.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open(TOVEL_FAKE_ENCODER);
    add({media("a-slow.avi"), media("b.avi")});
    auto* pause = qobject_cast<QAbstractButton*>(control(1063));
    ASSERT_TRUE(pause);
    EXPECT_FALSE(pause->isEnabled());
    EXPECT_EQ(pause->toolTip(), "Pause after the current file (F6)");
    click(1015);
    ASSERT_TRUE(waitFor([this] {
        const ListCellInfo* status = dlg->jobList()->cellModel()->cell(0, 4);
        return status && status->progress && status->percent > 0;
    }));
    click(1063);
    EXPECT_EQ(pause->accessibleName(), "Resume");
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
    EXPECT_EQ(cell(0, 4), "Completed");
    EXPECT_EQ(cell(1, 4), "Ready");
    EXPECT_TRUE(control(1007)->isEnabled()); // the rest can be removed
    EXPECT_TRUE(pause->isEnabled() && pause->text() == "Resume");
    EXPECT_FALSE(answers->texts().contains(kAccomplished));

    click(1063);
    ASSERT_TRUE(waitFor([this] { return cell(1, 4) == "Completed" && !dlg->IsConverting(); }));
    EXPECT_FALSE(pause->isEnabled());
    EXPECT_EQ(pause->text(), "Pause");
}

// A tool that waits for the stop request stands in where the batch must still be running.
class HangingWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* name : {"hang.avi", "two.avi", "three.avi"})
            ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
        open(TOVEL_FAKE_ENCODER);
        add({media("hang.avi"), media("two.avi"), media("three.avi")});
        click(1015);
        ASSERT_TRUE(
            waitFor([this] { return dlg->batch().ConvState() == CBatchConverter::Converting; }));
        // The tool has started and waits: a slow start (ThreadSanitizer) must not meet a Stop
        // before the tool has anything to keep.
        ASSERT_TRUE(waitFor([this] {
            const ListCellInfo* status = dlg->jobList()->cellModel()->cell(0, 4);
            return status && status->progress && status->percent > 0;
        }));
    }
};

TEST_F(HangingWindowTest, ControlsAndMenusAreDisabledWhileConvertingAndExitIsRefused)
{
    for (int id : {1015, 1007, 1008, 1014, 1006, 1005, 1004})
        EXPECT_FALSE(control(id)->isEnabled()) << id;
    for (int id : {1018, 1019, 1001})
        EXPECT_TRUE(control(id)->isEnabled()) << id;
    for (int id : {32771, 32772, 32773, 32788, 32789, 32791, 32793, 32796, 32797})
        EXPECT_FALSE(dlg->menus().action(id)->isEnabled()) << id;
    EXPECT_FALSE(dlg->menus().edit->menuAction()->isEnabled());
    for (int id : {32774, 32799, 32800, 32781, 32779})
        EXPECT_TRUE(dlg->menus().action(id)->isEnabled()) << id;
    EXPECT_FALSE(dlg->jobList()->viewport()->acceptDrops());

    trigger(32774); // Exit
    dlg->close();   // the close box
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &escape);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &enter);
    // Esc does nothing in the main window, not even the warning.
    EXPECT_EQ(answers->texts(), QStringList({kRunning, kRunning}));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->batch().ConvState(), CBatchConverter::Converting);

    // Preferences stay available; a change made now counts at the batch's end.
    int shutdowns = 0;
    dlg->batch().setShutdown([&shutdowns] { ++shutdowns; });
    answers->hold(true);
    QTimer::singleShot(0, [] {
        auto* prefs = qobject_cast<CPreferencesDlg*>(QApplication::activeModalWidget());
        if (!prefs)
            return;
        prefs->shutdownBox()->setChecked(true);
        prefs->accept();
    });
    trigger(32799);
    answers->hold(false);
    EXPECT_EQ(g_bShutdown.load(), 1);

    dlg->batch().RequestStop();
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
    EXPECT_EQ(shutdowns, 1);
    for (int id : {1015, 1007, 1008, 1014, 1006, 1005, 1004})
        EXPECT_TRUE(control(id)->isEnabled()) << id;
    EXPECT_TRUE(dlg->menus().action(32771)->isEnabled());
    EXPECT_TRUE(dlg->jobList()->viewport()->acceptDrops());
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(HangingWindowTest, StopAsksFirstAndTheNextRowIsAborted)
{
    answers->queue(QMessageBox::No);
    click(1018);
    ASSERT_EQ(answers->texts(), QStringList{"  Stop the video convert operation?   "});
    EXPECT_EQ(dlg->batch().ConvState(), CBatchConverter::Converting);
    EXPECT_FALSE(dlg->batch().StopRequested());

    answers->queue(QMessageBox::Yes);
    click(1018);
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
    // The row cut short says so and stays checked; its shortened file does not stay.
    EXPECT_EQ(cell(0, 4), "Abort");
    EXPECT_TRUE(checked(0));
    EXPECT_FALSE(QFileInfo::exists(out() + "/hang.mp4"));
    EXPECT_EQ(cell(1, 4), "Abort");
    EXPECT_EQ(cell(2, 4), "Ready");
    // The batch's messages come before its end: none says it all went well.
    EXPECT_FALSE(answers->texts().contains(kAccomplished));
}

TEST_F(HangingWindowTest, DropsWaitUntilTheBatchHasEnded)
{
    drop({media("two.avi")});
    QApplication::processEvents();
    EXPECT_EQ(dlg->jobModel().rowCount(), 3);
    dlg->batch().RequestStop();
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
    drop({media("two.avi")});
    EXPECT_TRUE(waitFor([this] { return dlg->jobModel().rowCount() == 4; }));
}

TEST_F(HangingWindowTest, EndingTheProgramStopsTheBatchWithoutAQuestion)
{
    const int before = int(answers->seen.size());
    dlg.reset(); // the desktop session ends: the window goes while the tool still converts
    EXPECT_EQ(answers->seen.size(), before);
}

TEST_F(WindowTest, PreferencesTakeEffectOnOkOnly)
{
    open();
    answers->hold(true);
    const auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* prefs = qobject_cast<CPreferencesDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(prefs, nullptr);
            EXPECT_TRUE(prefs->autoRenameButton()->isChecked());
            prefs->overwriteButton()->setChecked(true);
            prefs->shutdownBox()->setChecked(true);
            ok ? prefs->accept() : prefs->reject();
        });
    };
    answer(false);
    trigger(32799);
    EXPECT_EQ(g_bOverwrite.load(), 0);
    EXPECT_EQ(g_bShutdown.load(), 0);
    answer(true);
    trigger(32799);
    EXPECT_EQ(g_bOverwrite.load(), 1);
    EXPECT_EQ(g_bShutdown.load(), 1);
}

TEST_F(WindowTest, TheDurationColumnShowsTheMeasuredLength)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("ten.avi"), 10.0, "160x120"));
    open();
    add({media("ten.avi")});
    EXPECT_EQ(cell(0, 2), "00:00:10");
}

TEST_F(WindowTest, ASourceGoneBeforeEncodeFailsItsRowAndSaysWhy)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("gone.avi"), 1.0, "160x120"));
    open();
    add({media("gone.avi")});
    ASSERT_TRUE(QFile::remove(media("gone.avi")));
    encodeAndWait();
    EXPECT_EQ(cell(0, 4), "Fail");
    ASSERT_EQ(answers->seen.size(), 1);
    EXPECT_TRUE(answers->seen[0].text.startsWith("Convert fail,please send the trace file:"));
    CCellListModel* model = dlg->jobList()->cellModel();
    EXPECT_TRUE(waitFor([&] {
        return model->data(model->index(0, 4), Qt::ToolTipRole)
            .toString()
            .startsWith("cannot read the input");
    })) << model->data(model->index(0, 4), Qt::ToolTipRole).toString().toStdString();
    EXPECT_FALSE(QFileInfo::exists(out() + "/gone.mp4"));
}

TEST_F(WindowTest, GoingOnPastAFailureIsAPreferenceAndTheReasonIsInTheTooltip)
{
    for (const char* name : {"one.avi", "two-fail.avi", "three.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0, "160x120"));
    open(TOVEL_FAKE_ENCODER);
    add({media("one.avi"), media("two-fail.avi"), media("three.avi")});
    answers->hold(true);
    QTimer::singleShot(0, [] {
        auto* prefs = qobject_cast<CPreferencesDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(prefs, nullptr);
        EXPECT_TRUE(prefs->stopOnFailureButton()->isChecked()); // the default
        prefs->goOnButton()->click();
        prefs->findChild<QCheckBox*>("keepDates")->setChecked(true);
        prefs->findChild<QCheckBox*>("keepFolderTree")->setChecked(true);
        EXPECT_FALSE(prefs->copySourceBox()->isEnabled()) << "only with keep-smaller";
        prefs->keepSmallerBox()->setChecked(true);
        prefs->copySourceBox()->setChecked(true);
        prefs->accept();
    });
    trigger(32799);
    answers->hold(false);
    const QByteArray ini = TestMedia::readFile(app("config.ini"));
    for (const char* line : {"\nKeepGoing=1", "\nKeepFolderTree=1", "\nCopySourceIfLarger=1"})
        EXPECT_TRUE(ini.contains(line)) << line;
    EXPECT_TRUE(dlg->batch().namePattern().keepsFolderTree() && dlg->batch().copySourceIfLarger());
    encodeAndWait();

    EXPECT_EQ(cell(0, 4), "Completed");
    EXPECT_EQ(cell(1, 4), "Fail");
    EXPECT_EQ(cell(2, 4), "Completed");
    EXPECT_TRUE(checked(1));
    const QString reason = "fake: cannot convert " + media("two-fail.avi");
    CCellListModel* model = dlg->jobList()->cellModel();
    EXPECT_TRUE(waitFor([&] {
        return model->data(model->index(1, 4), Qt::ToolTipRole).toString() == reason.left(80);
    })) << model->data(model->index(1, 4), Qt::ToolTipRole).toString().toStdString();
    ASSERT_EQ(answers->seen.size(), 1); // one list, no box per row, no summary
    EXPECT_TRUE(answers->seen[0].text.startsWith("1 file failed:\ntwo-fail.avi: " + reason + '\n'))
        << answers->seen[0].text.toStdString();
    EXPECT_EQ(answers->seen[0].caption, "Warning");

    // The choice is kept for the next start.
    dlg.reset();
    QFile::remove(app(EncoderTool::fileName()));
    open(TOVEL_FAKE_ENCODER);
    EXPECT_TRUE(dlg->batch().keepGoing());
    EXPECT_TRUE(dlg->batch().keepSourceDates());
}

TEST_F(WindowTest, EditsOfTheSelectedRowReachItsConversion)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("edit me.avi"), 1.0, "320x240"));
    open();
    add({media("edit me.avi")});
    const auto item = [this](const QString& label) { return videoItem(label); };
    ASSERT_NE(item("Bit Rate"), nullptr);
    EXPECT_FALSE(item("Bit Rate")->IsReadOnly()) << "the selected row is editable";
    typeInto("Bit Rate", "300");
    typeInto("Video Size", "176x144");
    encodeAndWait();

    EXPECT_TRUE(item("Bit Rate")->IsReadOnly() == false) << "editable again after the batch";
    const QByteArray trace = TestMedia::readFile(app("trace.log"));
    EXPECT_TRUE(trace.contains(" -b 300k ")) << trace.toStdString();
    EXPECT_TRUE(trace.contains(" -s 176x144 "));
    EXPECT_TRUE(TestMedia::probe(out() + "/edit me.mp4").join(" ").contains("|176|144"));

    // Deselecting writes back and locks; the values stay shown.
    dlg->jobList()->clearSelection();
    EXPECT_TRUE(item("Bit Rate")->IsReadOnly());
    EXPECT_EQ(item("Bit Rate")->ValueText(), "300");
}

TEST_F(WindowTest, FoldersCopiedCommandsAndKeptDates)
{
    ASSERT_TRUE(QDir().mkpath(media("trip/day two")));
    ASSERT_TRUE(TestMedia::makeVideo(media("trip/beach.avi"), 1.0));
    ASSERT_TRUE(TestMedia::makeAudio(media("trip/day two/song.mp3"), 1.0));
    ASSERT_TRUE(TestMedia::writeFile(media("trip/notes.txt"), "not media"));
    open();
    m_folderPick = media("trip");
    trigger(32801); // File > Add Folder...
    waitForAdmission();
    ASSERT_EQ(dlg->jobModel().rowCount(), 2);
    EXPECT_EQ(answers->texts().size(), 1) << "one summary, no message per skipped file";
    EXPECT_TRUE(answers->texts()[0].contains("2")) << answers->texts()[0].toStdString();

    // The copied command is the one the conversion then runs.
    dlg->jobs().SelectRow(0);
    trigger(32802);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains("beach.avi"));

    {
        QFile source(media("trip/beach.avi"));
        ASSERT_TRUE(source.open(QIODevice::ReadWrite));
        ASSERT_TRUE(source.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)),
                                       QFileDevice::FileModificationTime));
    }
    dlg->batch().setKeepSourceDates(true);
    dlg->jobList()->SetCheck(1, 0, 0);
    encodeAndWait();
    // Pasted into a shell, the copied line runs the words the trace records.
    EXPECT_EQ(
        shellWords(
            QString::fromUtf8(TestMedia::readFile(app("trace.log"))).split('\n').first().trimmed(),
            m_media.path()),
        shellWords(copied, m_media.path()));
    EXPECT_EQ(QFileInfo(out() + "/beach.mp4").lastModified().date(), QDate(2001, 2, 3));
}
