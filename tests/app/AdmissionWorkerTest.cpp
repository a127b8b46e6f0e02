// The admission worker without a window: rows in the order given with their folders walked,
// refused files, each folder's tally, and a cancel that cuts a probe waiting for the tool short.
#include "AdmissionWorker.h"
#include "ConversionJob.h"
#include "EncoderTool.h"
#include "TestMedia.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

class AdmissionWorkerTest : public ::testing::Test
{
protected:
    // What the worker reported, on this thread.
    struct Seen
    {
        QStringList rows;       // relative to the media folder
        QStringList subfolders; // the output sub-folder each job carries
        QList<int> items;
        QStringList refused;
        int done = 0;
        int total = 0;
        std::optional<AdmissionWorker::Outcome> outcome;
    };

    void SetUp() override
    {
        ASSERT_TRUE(m_app.isValid() && m_media.isValid());
        // The stand-in answers the information mode for files the in-process probe cannot read.
        ASSERT_TRUE(QFile::link(TOVEL_FAKE_ENCODER, m_app.path() + '/' + EncoderTool::fileName()));
        m_setup.appFolder = m_app.path() + '/';
    }

    QString media(const QString& name) const { return m_media.path() + '/' + name; }
    // A file only the tool's information mode can read (the stand-in's "garbage" it refuses).
    bool touch(const QString& name) const
    {
        return QDir().mkpath(QFileInfo(media(name)).path()) &&
               TestMedia::writeFile(media(name), "x");
    }

    std::unique_ptr<AdmissionWorker> start(Seen& seen, const QStringList& paths, bool walk)
    {
        AdmissionWorker::Reports reports;
        reports.admitted = [this, &seen](std::unique_ptr<ConversionJob> job, int item) {
            seen.rows << QDir(m_media.path()).relativeFilePath(job->inputPath);
            seen.items << item;
            seen.subfolders << job->outputSubfolder;
        };
        reports.refused = [this, &seen](const QString& path, int) {
            seen.refused << QDir(m_media.path()).relativeFilePath(path);
        };
        reports.progress = [&seen](int done, int total) {
            seen.done = done;
            seen.total = total;
        };
        reports.finished = [&seen](const AdmissionWorker::Outcome& outcome) {
            seen.outcome = outcome;
        };
        auto worker = std::make_unique<AdmissionWorker>(m_setup, std::move(reports));
        EXPECT_TRUE(worker->start(paths, walk));
        EXPECT_FALSE(worker->start(paths, walk)) << "one run per worker";
        return worker;
    }

    QTemporaryDir m_app;
    QTemporaryDir m_media;
    EncoderSetup m_setup;
};

TEST_F(AdmissionWorkerTest, RowsComeInTheOrderGivenWithFoldersWalkedAndRefusalsNamed)
{
    for (const char* name : {"b.avi", "a-garbage.avi", "f/2.avi", "f/1-garbage.avi", "f/sub/3.avi",
                             "f/.hidden.avi", "c.avi"})
        ASSERT_TRUE(touch(name)) << name;
    ASSERT_TRUE(TestMedia::makeVideo(media("f/0 clip.avi"), 1.0)); // read in-process
    Seen seen;
    const auto worker =
        start(seen, {media("b.avi"), media("a-garbage.avi"), media("f"), media("c.avi")}, true);
    ASSERT_TRUE(waitFor([&] { return seen.outcome.has_value(); }));
    EXPECT_FALSE(worker->isRunning());

    EXPECT_EQ(seen.rows, QStringList({"b.avi", "f/0 clip.avi", "f/2.avi", "f/sub/3.avi", "c.avi"}));
    EXPECT_EQ(seen.items, QList<int>({0, 2, 2, 2, 3}));
    // Where each stood under the added folder, for a mirrored output tree.
    EXPECT_EQ(seen.subfolders, QStringList({"", "", "", "sub", ""}));
    // A file of a folder that cannot be decoded is only counted, as Add Folder always did.
    EXPECT_EQ(seen.refused, QStringList{"a-garbage.avi"});
    ASSERT_EQ(seen.outcome->folders.size(), 1u);
    EXPECT_EQ(seen.outcome->folders[0].first, 2);
    EXPECT_EQ(seen.outcome->folders[0].second.added, 3);
    EXPECT_EQ(seen.outcome->folders[0].second.skipped, 1);
    EXPECT_FALSE(seen.outcome->cancelled);
    EXPECT_EQ(seen.done, 7);
    EXPECT_EQ(seen.total, 7);
}

TEST_F(AdmissionWorkerTest, ACancelEndsAProbeStillWaitingForTheTool)
{
    // Every information run of the stand-in hangs, as a tool stuck on a network file would.
    const QString plan = media("plan");
    ASSERT_TRUE(TestMedia::writeFile(plan, "hang\n"));
    ASSERT_TRUE(touch("stuck.avi") && touch("next.avi"));
    // Set before the worker starts and unset only after it has ended: it reads the environment.
    qputenv("TOVEL_FAKE_PLAN", plan.toUtf8());
    Seen seen;
    auto worker = start(seen, {media("stuck.avi"), media("next.avi")}, false);
    const auto unplanned = qScopeGuard([&worker] {
        worker.reset();
        qunsetenv("TOVEL_FAKE_PLAN");
    });
    ASSERT_TRUE(waitFor([&] { return QFile::exists(plan + ".args"); }, 60000, "the tool asked"));

    worker->cancel();
    // Well before the probe's own 30 s limit for the tool's reply.
    ASSERT_TRUE(waitFor([&] { return seen.outcome.has_value(); }, 10000, "the cancelled end"));
    EXPECT_TRUE(seen.outcome->cancelled);
    EXPECT_TRUE(seen.rows.isEmpty());
    EXPECT_TRUE(seen.refused.isEmpty()) << "a probe cut short says nothing of its file";
}

} // namespace
