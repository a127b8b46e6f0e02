// The job list kept on disk: the real program killed and started again, rows coming back as
// the user left them, a damaged list, files gone meanwhile, and a normal exit leaving nothing.
#include "CBatchConverter.h"
#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CJobList.h"
#include "CParamTree.h"
#include "CParamTreeItem.h"
#include "CProfileEditor.h"
#include "CellPaint.h"
#include "EncoderTool.h"
#include "EncoderToolContract.h"
#include "JobListStore.h"
#include "ListCellInfo.h"
#include "ProgramRun.h"
#include "SegmentWorkFolder.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <signal.h>

namespace {

class JobListRestoreTest : public WindowTest
{
protected:
    QString kept() const { return app("joblist.json"); }
    QList<JobListStore::Row> keptRows() const
    {
        JobListStore::Kept list;
        JobListStore(m_app.path()).load(list);
        return list.rows;
    }

    // The real programs in the test's application folder, with the real tool.
    void install()
    {
        for (const char* name : {"tovel", "tovel-cli"}) {
            ASSERT_TRUE(QFile::copy(TestMedia::appDir() + name, app(name)));
            QFile(app(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        ASSERT_TRUE(QFile::link(TestMedia::appDir() + EncoderTool::fileName(),
                                app(EncoderTool::fileName())));
    }
    // Starts the real program on `files` and waits until its kept list holds them.
    void start(QProcess& program, const QStringList& files)
    {
        program.start(app("tovel"), files);
        ASSERT_TRUE(program.waitForStarted());
        const bool listed = bool(waitFor([&] { return keptRows().size() == files.size(); }, 60000));
        ASSERT_TRUE(listed) << program.readAllStandardError().toStdString();
    }
    // Kills `program` as a crash would.
    static void kill(QProcess& program)
    {
        ::kill(pid_t(program.processId()), SIGKILL);
        program.waitForFinished();
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
    }
    void runAndKill(const QStringList& files)
    {
        install();
        QProcess program;
        start(program, files);
        kill(program);
    }

    // Opens the window with `file` named at start, as on the command line, and waits for its
    // row: the start-up admits it only once it has offered back or reported a kept list.
    void openPastStartup(const QString& file)
    {
        open();
        dlg->AdmitFiles({file});
        ASSERT_TRUE(waitFor([this] { return dlg->jobModel().rowCount() > 0; }, 60000,
                            "the file named at start"));
    }

    bool running(int row) const
    {
        const ListCellInfo* status = dlg->jobList()->cellModel()->cell(row, 4);
        return status && status->progress;
    }
};

TEST_F(JobListRestoreTest, AKilledProgramsListComesBackOnYesWithoutTheFilesGoneMeanwhile)
{
    const QStringList files = {media("first clip ä.avi"), media("-second.avi"), media("gone.avi")};
    for (const QString& file : files)
        ASSERT_TRUE(TestMedia::makeVideo(file, 1.0));
    runAndKill(files);
    ASSERT_TRUE(QFile::remove(media("gone.avi")));
    // A profile deleted meanwhile: its row converts with the current one, and the user is told.
    JobListStore::Kept kept;
    ASSERT_EQ(JobListStore(m_app.path()).load(kept), JobListStore::List);
    kept.rows[1].profileName = "Deleted Profile";
    ASSERT_TRUE(JobListStore(m_app.path()).save(kept));

    open();
    ASSERT_TRUE(waitFor([this] { return answers->seen.size() == 3; }));
    EXPECT_TRUE(answers->seen[0].text.contains("Restore its job list (3 files)?"));
    EXPECT_TRUE(answers->seen[1].text.startsWith("These profiles are no longer there"));
    EXPECT_TRUE(answers->seen[1].text.endsWith("\nDeleted Profile"));
    EXPECT_TRUE(answers->seen[2].text.contains(QDir::toNativeSeparators(media("gone.avi"))));
    EXPECT_FALSE(answers->seen[2].text.contains("second"));
    ASSERT_EQ(dlg->jobModel().rowCount(), 2);
    EXPECT_EQ(cell(0, 1), "first clip ä.avi");
    EXPECT_EQ(cell(1, 1), "-second.avi");
    EXPECT_TRUE(cell(0, 4) == "Ready" && checked(0) && checked(1));
    // Kept from now on, without the gone file.
    EXPECT_TRUE(waitFor([this] { return keptRows().size() == 2; }));
}

TEST_F(JobListRestoreTest, AKilledProgramsListIsForgottenOnNo)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    runAndKill({media("clip.avi")});

    answers->queue(QMessageBox::No);
    open();
    ASSERT_TRUE(waitFor([this] { return answers->seen.size() == 1; }));
    EXPECT_TRUE(answers->seen[0].text.contains("(1 file)"));
    // Deleting the list is the last step of the offer.
    ASSERT_TRUE(waitFor([this] { return !QFile::exists(kept()); }, 60000, "the list deleted"));
    EXPECT_EQ(dlg->jobModel().rowCount(), 0);
    dlg.reset();
    openPastStartup(media("clip.avi"));
    EXPECT_EQ(answers->seen.size(), 1) << "asked once";
}

// "Open with" a second time: the running window takes the file; and a tovel-cli run beside it
// writes neither its job list nor its trace.
TEST_F(JobListRestoreTest, ALaterStartHandsItsFileToTheWindowAndTovelCliKeepsApart)
{
    for (const char* name : {"a.avi", "b.avi", "c.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    install();
    QProcess window;
    start(window, {media("a.avi")});
    const ProgramResult second = runProgram(app("tovel"), {media("b.avi")});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(waitFor([this] {
        const QList<JobListStore::Row> rows = keptRows();
        return rows.size() == 2 && rows[1].inputPath == media("b.avi");
    }));

    ASSERT_TRUE(TestMedia::writeFile(app("trace.log"), "the window's trace\n"));
    const QByteArray list = TestMedia::readFile(kept());
    const ProgramResult cli = runProgram(app("tovel-cli"), {media("c.avi")});
    EXPECT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    EXPECT_EQ(TestMedia::readFile(kept()), list);
    EXPECT_EQ(TestMedia::readFile(app("trace.log")), "the window's trace\n");
    EXPECT_TRUE(TestMedia::readFile(app("cli/trace.log")).contains("c.avi"));
    kill(window);
}

TEST_F(JobListRestoreTest, RowsComeBackWithTheirEditsChecksAndStatusesAndARunningRowAsReady)
{
    for (const char* name : {"done.avi", "hang.avi", "edited.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open(TOVEL_FAKE_ENCODER);
    add({media("done.avi"), media("hang.avi"), media("edited.avi")});
    const auto bitRate = [this] {
        CParamTreeItem* found = nullptr;
        dlg->editor().Tree()->ForEachItem(nullptr, [&](CParamTreeItem* each) {
            if (!found && each->Label() == "Bit Rate" && CProfileEditor::CategoryOf(each) == 1)
                found = each;
        });
        return found;
    };
    ASSERT_NE(bitRate(), nullptr);
    CParamTree* tree = dlg->editor().Tree();
    ASSERT_TRUE(tree->ActivateItem(bitRate(), false));
    auto* box = qobject_cast<QLineEdit*>(bitRate()->EditorWidget());
    if (!box)
        box = qobject_cast<QComboBox*>(bitRate()->EditorWidget())->lineEdit();
    box->setText("321");
    tree->EndEditing(bitRate());
    dlg->jobList()->SetCheck(2, 0, 0);
    // Typed, not stored: only the kept list knows it.
    qobject_cast<QLineEdit*>(control(1005))->setText(media("typed"));

    click(1015);
    // The moment of the crash: one row done, one converting.
    ASSERT_TRUE(waitFor([this] {
        const QList<JobListStore::Row> rows = keptRows();
        return running(1) && rows.size() == 3 && rows[0].state == RowState::Completed;
    }));
    const QByteArray atCrash = TestMedia::readFile(kept());
    dlg.reset();
    ASSERT_TRUE(TestMedia::writeFile(kept(), atCrash));

    open(TOVEL_FAKE_ENCODER);
    ASSERT_TRUE(waitFor([this] { return dlg->jobModel().rowCount() == 3; }));
    EXPECT_TRUE(cell(0, 4) == "Completed" && !checked(0));
    EXPECT_TRUE(cell(1, 4) == "Ready" && checked(1)) << cell(1, 4).toStdString();
    EXPECT_TRUE(cell(2, 4) == "Ready" && !checked(2));
    EXPECT_EQ(qobject_cast<QLineEdit*>(control(1005))->text(), media("typed"));
    dlg->jobs().SelectRow(2);
    EXPECT_EQ(bitRate()->ValueText(), "321");
    dlg->jobs().SelectRow(0);
    EXPECT_NE(bitRate()->ValueText(), "321") << "the edit was that row's alone";
}

TEST_F(JobListRestoreTest, ADamagedOrForeignListIsSetAsideAndReportedOnce)
{
    const QByteArray damaged[] = {
        "{\"format\": \"Tovel Video Converter job list\", \"rows\": [",
        "{\"format\": \"a shopping list\", \"version\": 1, \"rows\": []}",
        // A state this program never keeps is not trusted either.
        "{\"format\": \"Tovel Video Converter job list\", \"version\": 1, \"rows\": [{\"input\": "
        "\"/a.avi\", \"profile\": \"p\", \"checked\": true, \"status\": \"Exploded\", "
        "\"values\": []}]}"};
    for (const QByteArray& bytes : damaged) {
        ASSERT_TRUE(TestMedia::writeFile(kept(), bytes));
        const qsizetype before = answers->seen.size();
        open();
        ASSERT_TRUE(waitFor([&] { return answers->seen.size() == before + 1; }));
        EXPECT_TRUE(answers->seen.last().text.startsWith(
            "The job list kept from the last session could not be read."));
        EXPECT_EQ(dlg->jobModel().rowCount(), 0);
        EXPECT_FALSE(QFile::exists(kept()));
        QStringList aside;
        for (const QString& name : QDir(m_app.path()).entryList({"joblist.json.damaged-*"}))
            if (TestMedia::readFile(app(name)) == bytes)
                aside << name;
        EXPECT_EQ(aside.size(), 1);
        dlg.reset();
    }
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    openPastStartup(media("clip.avi"));
    EXPECT_EQ(answers->seen.size(), 3) << "each reported once";
}

TEST_F(JobListRestoreTest, ANormalExitLeavesNoList)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    ASSERT_TRUE(TestMedia::makeVideo(media("first.avi"), 1.0));
    open();
    add({media("first.avi"), media("clip.avi")});
    ASSERT_TRUE(waitFor([this] { return keptRows().size() == 2; }));
    trigger(32777); // Up: the kept list follows the new order
    ASSERT_TRUE(waitFor([this] {
        const QList<JobListStore::Row> rows = keptRows();
        return rows.size() == 2 && rows[0].inputPath == media("clip.avi");
    }));
    trigger(32774); // Exit
    EXPECT_FALSE(QFile::exists(kept()));
    dlg.reset();
    EXPECT_FALSE(QFile::exists(kept()));

    open();
    add({media("clip.avi")});
    ASSERT_TRUE(waitFor([this] { return keptRows().size() == 1; }));
    dlg->close(); // the close box
    dlg.reset();
    EXPECT_FALSE(QFile::exists(kept()));
    EXPECT_TRUE(answers->seen.isEmpty());
}

} // namespace

TEST_F(JobListRestoreTest, AStoppedRowSaysWhereItResumesAndGoesOnAfterTheWindowWasKilled)
{
    qputenv(EncoderToolContract::kSegmentSecondsVariable, "2");
    const auto unset = qScopeGuard([] { qunsetenv(EncoderToolContract::kSegmentSecondsVariable); });
    const QString clip = media("recording.mp4");
    ASSERT_TRUE(TestMedia::ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25", "-t", "20",
                                   "-c:v", "libx264", "-g", "25", "-y", clip}));
    const QString output = out() + "/recording.mp4";
    const auto keptShare = [&] { return SegmentWorkFolder::donePercent(output, clip); };
    const auto tip = [this] {
        CCellListModel* model = dlg->jobList()->cellModel();
        return model->data(model->index(0, 4), Qt::ToolTipRole).toString();
    };
    open();
    dlg->profileBox()->setCurrentIndex(
        dlg->profileBox()->findText("MP4 - H.264 Video (Quality)", Qt::MatchStartsWith));
    add({clip});
    click(1015);
    // The converting row shows its speed and time left in the bar itself.
    EXPECT_TRUE(waitFor([this] {
        const CellPaint paint = dlg->jobList()
                                    ->cellModel()
                                    ->index(0, 4)
                                    .data(CCellListModel::CellPaintRole)
                                    .value<CellPaint>();
        return paint.progress && paint.progressDetail.size() == 2 &&
               paint.progressDetail[0].endsWith(QChar(0xD7));
    }));
    ASSERT_TRUE(waitFor([&] { return keptShare() > 0; }, 120000, "a kept segment"));
    dlg->batch().RequestStop();
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
    EXPECT_EQ(cell(0, 4), "Abort");
    EXPECT_FALSE(QFileInfo::exists(output));
    EXPECT_EQ(tip(), QString("resumes at %1 %").arg(keptShare()));

    // The window killed now: its list comes back, and the row goes on from its segments.
    const QByteArray atCrash = TestMedia::readFile(kept());
    dlg.reset();
    ASSERT_TRUE(TestMedia::writeFile(kept(), atCrash));
    open();
    ASSERT_TRUE(waitFor([this] { return dlg->jobModel().rowCount() == 1; }));
    EXPECT_TRUE(waitFor([&] { return tip().startsWith("resumes at "); })) << tip().toStdString();
    encodeAndWait();
    EXPECT_EQ(cell(0, 4), "Completed");
    EXPECT_TRUE(TestMedia::readFile(app("trace.log")).contains("kept from an earlier run"));
    EXPECT_FALSE(QFileInfo::exists(SegmentWorkFolder::folderFor(output)));
    EXPECT_NEAR(TestMedia::probeDuration(output), 20.0, 0.1);
}
