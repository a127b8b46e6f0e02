// The window converting several rows at once: progress side by side, distinct outputs, one
// Stop question for all, a failure that waits for its neighbour, and the setting itself.
#include "CBatchConverter.h"
#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CPreferencesDlg.h"
#include "ListCellInfo.h"
#include "Settings.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSpinBox>
#include <cmath>

namespace {

const QString kAccomplished = "    Mission accomplished!        ";
const QString kStopQuestion = "  Stop the video convert operation?   ";

class LanesWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (Settings::MaxSimultaneous() < 2)
            GTEST_SKIP() << "one processor: one conversion at a time";
        simultaneous(2);
    }
    void simultaneous(const QByteArray& value)
    {
        ASSERT_TRUE(TestMedia::writeFile(app("config.ini"),
                                         "[Config]\nOutput=" + out().toUtf8() +
                                             "\nCProID=0\nSimultaneous=" + value + "\n"));
    }
    void simultaneous(int count) { simultaneous(QByteArray::number(count)); }
    bool barShown(int row) const
    {
        const ListCellInfo* status = dlg->jobList()->cellModel()->cell(row, 4);
        return status && status->progress;
    }
    bool running(int row) const
    {
        const ListCellInfo* status = dlg->jobList()->cellModel()->cell(row, 4);
        return status && status->progress && status->percent > 0;
    }
    // Opens Preferences, shows what it offers in `seen`, and sets `count` (when > 0) with OK.
    void preferences(int count, int* seen = nullptr, int* most = nullptr)
    {
        answers->hold(true);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* prefs = qobject_cast<CPreferencesDlg*>(QApplication::activeModalWidget());
            if (!prefs || !prefs->isVisible())
                return;
            poll.stop();
            if (seen)
                *seen = prefs->simultaneousBox()->value();
            if (most)
                *most = prefs->simultaneousBox()->maximum();
            if (count > 0)
                prefs->simultaneousBox()->setValue(count);
            count > 0 ? prefs->accept() : prefs->reject();
        });
        poll.start(5);
        trigger(32799);
        answers->hold(false);
    }
};

TEST_F(LanesWindowTest, TwoRowsConvertAtOnceIntoDistinctOutputs)
{
    ASSERT_TRUE(QDir().mkpath(media("a")) && QDir().mkpath(media("b")));
    ASSERT_TRUE(TestMedia::makeVideo(media("a/clip.avi"), 3.0));
    ASSERT_TRUE(TestMedia::makeVideo(media("b/clip.avi"), 5.0));
    ASSERT_TRUE(TestMedia::makeVideo(media("c.avi"), 2.0));
    open();
    add({media("a/clip.avi"), media("b/clip.avi"), media("c.avi")});
    click(1015);
    // Both bars at once is the proof; their first percent may wait, as the idle-priority
    // lanes get little time while both tools keep the processors busy.
    EXPECT_TRUE(waitFor([this] { return barShown(0) && barShown(1); }))
        << "two progress bars at the same moment";
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));

    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(cell(row, 4), "Completed") << row;
        EXPECT_FALSE(checked(row));
    }
    // Which of the two same-named rows took the plain name is up to the lanes.
    const double plain = TestMedia::probeDuration(out() + "/clip.mp4");
    const double renamed = TestMedia::probeDuration(out() + "/clip-0.mp4");
    EXPECT_NEAR(std::min(plain, renamed), 3.0, 0.3);
    EXPECT_NEAR(std::max(plain, renamed), 5.0, 0.3);
    EXPECT_NEAR(TestMedia::probeDuration(out() + "/c.mp4"), 2.0, 0.3);
    EXPECT_EQ(answers->texts(), QStringList{kAccomplished});
    EXPECT_EQ(m_opened.size(), 1);
}

TEST_F(LanesWindowTest, StopIsAskedOnceAndStopsEveryRunningRow)
{
    for (const char* name : {"a-hang.avi", "b-hang.avi", "c.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open(TOVEL_FAKE_ENCODER);
    add({media("a-hang.avi"), media("b-hang.avi"), media("c.avi")});
    click(1015);
    ASSERT_TRUE(waitFor([this] { return running(0) && running(1); }));
    EXPECT_FALSE(dlg->jobList()->viewport()->acceptDrops());
    click(1018);
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));

    EXPECT_EQ(answers->texts().count(kStopQuestion), 1);
    for (int row : {0, 1}) {
        EXPECT_FALSE(running(row));
        EXPECT_NE(cell(row, 4), "Fail") << row;
    }
    EXPECT_EQ(cell(2, 4), "Abort");
    // Both tools were told to stop: each went on to its last progress after the "q"; what they
    // wrote does not stay under the outputs' names.
    EXPECT_EQ(QString(TestMedia::readFile(app("trace.log"))).count(QRegularExpression("time=3")),
              2);
    EXPECT_FALSE(QFileInfo::exists(out() + "/a-hang.mp4"));
    EXPECT_FALSE(QFileInfo::exists(out() + "/b-hang.mp4"));
    EXPECT_EQ(m_opened.size(), 1);
    EXPECT_TRUE(dlg->jobList()->viewport()->acceptDrops());
}

TEST_F(LanesWindowTest, AFailingRowEndsTheBatchOnceTheRowBesideItHasEnded)
{
    for (const char* name : {"a-slow.avi", "b-fail.avi", "c.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open(TOVEL_FAKE_ENCODER);
    add({media("a-slow.avi"), media("b-fail.avi"), media("c.avi")});
    // The failure box runs its own loop: look at the rows from inside it, then dismiss it.
    answers->hold(true);
    QStringList atFailure;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->text().startsWith("Convert fail,please send the trace file:"))
            return;
        look.stop();
        atFailure = QStringList{cell(0, 4), cell(1, 4)};
        answers->hold(false);
    });
    look.start(5);
    click(1015);
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
    EXPECT_EQ(atFailure, QStringList({"Completed", "Fail"}))
        << "the neighbour ends before the failure is shown";

    EXPECT_EQ(cell(2, 4), "Ready");
    EXPECT_TRUE(checked(1) && checked(2));
    ASSERT_EQ(answers->seen.size(), 1) << "no summary after a failure";
    EXPECT_EQ(m_opened.size(), 1);
}

TEST_F(LanesWindowTest, TheSettingIsKeptAndAChangeDuringABatchCountsForTheNext)
{
    simultaneous(1);
    for (const char* name : {"a-hang.avi", "b.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open(TOVEL_FAKE_ENCODER);
    int seen = 0, most = 0;
    preferences(0, &seen, &most);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(most, Settings::MaxSimultaneous());

    add({media("a-hang.avi"), media("b.avi")});
    // Watched over the whole batch: the second row's turn comes only after the first row has
    // ended, and then the batch is stopping.
    bool secondRan = false;
    const QMetaObject::Connection watch =
        QObject::connect(dlg->jobList()->cellModel(), &QAbstractItemModel::dataChanged,
                         [&] { secondRan = secondRan || barShown(1); });
    click(1015);
    ASSERT_TRUE(waitFor([this] { return running(0); }));
    preferences(2);
    EXPECT_EQ(dlg->batch().jobs(), 1);
    dlg->batch().RequestStop();
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
    QObject::disconnect(watch);
    EXPECT_FALSE(secondRan) << "one row at a time in this batch";
    EXPECT_EQ(cell(1, 4), "Abort");
    dlg->jobList()->SetCheck(0, 0, 0);
    encodeAndWait();
    EXPECT_EQ(dlg->batch().jobs(), 2);
    EXPECT_EQ(cell(1, 4), "Completed");

    // Kept in config.ini across a restart; values it cannot take count as 1.
    trigger(32774);
    dlg.reset();
    open(TOVEL_FAKE_ENCODER);
    preferences(0, &seen);
    EXPECT_EQ(seen, 2);
    for (const QByteArray bad : {"0", "two", "99", "-1", ""}) {
        trigger(32774);
        dlg.reset();
        simultaneous(bad);
        open(TOVEL_FAKE_ENCODER);
        preferences(0, &seen);
        EXPECT_EQ(seen, 1) << bad.constData();
    }
}

} // namespace
