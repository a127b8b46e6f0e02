#include "JobModel.h"
#include "ConversionJob.h"
#include "JobListStore.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

#include <QThread>
#include <thread>
#include <vector>

namespace {

std::unique_ptr<ConversionJob> jobFor(const QString& path)
{
    auto job = std::make_unique<ConversionJob>();
    job->inputPath = path;
    return job;
}

struct Seen
{
    int row;
    int changes;
    bool onOwner;
};

} // namespace

TEST(JobModel, AWorkersChangesReachTheOwnerThreadInOrderAndFollowAMovedRow)
{
    JobModel model;
    model.append(jobFor("/a.avi"));
    model.append(jobFor("/b.avi"));
    std::vector<Seen> seen;
    QObject::connect(&model, &JobModel::rowChanged, [&](int row, int changes) {
        seen.push_back({row, changes, QThread::currentThread() == model.thread()});
    });

    std::thread worker([&] {
        model.setState(1, RowState::Converting);
        model.updateProgress(1, 140); // a tool may overshoot: drawn as full
        model.setChecked(1, false);
        // The batch reads its own write at once, before the owner thread has drawn anything.
        EXPECT_FALSE(model.isChecked(1));
        RowTiming took;
        took.finished = true;
        model.updateTiming(1, took);
        model.setFailureReason(1, "the encoder tool wrote no output file");
        model.setState(1, RowState::Fail);
    });
    worker.join();
    EXPECT_TRUE(seen.empty()) << "nothing is applied off the owner thread";
    // The row moves before the queued changes are applied: they follow its job, not its index.
    ASSERT_TRUE(model.move(1, 0));
    ASSERT_TRUE(waitFor([&] { return model.values(0).state == RowState::Fail; }));

    ASSERT_EQ(seen.size(), 6u);
    for (const Seen& each : seen) {
        EXPECT_EQ(each.row, 0);
        EXPECT_TRUE(each.onOwner);
    }
    EXPECT_EQ(seen[1].changes, JobModel::Progress);
    EXPECT_EQ(seen[2].changes, JobModel::Check);
    const JobModel::RowValues failed = model.values(0);
    EXPECT_EQ(failed.percent, 100);
    EXPECT_FALSE(failed.checked);
    EXPECT_TRUE(failed.timing.finished);
    EXPECT_EQ(failed.reason, "the encoder tool wrote no output file");
    EXPECT_EQ(model.values(1).state, RowState::Ready);

    // A second run starts afresh: no old pace or reason, progress only while converting.
    model.setState(0, RowState::Converting);
    EXPECT_EQ(model.values(0).reason, "");
    EXPECT_FALSE(model.values(0).timing.finished);
    EXPECT_EQ(model.values(0).percent, 0);
    model.setState(0, RowState::Abort);
    model.updateProgress(0, 50);
    EXPECT_EQ(model.values(0).percent, 0);
}

TEST(JobModel, ADirectModelAppliesOnTheCallingThreadAndARemovedRowsChangesAreDropped)
{
    JobModel model(JobModel::Direct);
    model.append(jobFor("/a.avi"));
    ConversionJob* job = model.job(0);
    int removedSeen = -1;
    bool jobAliveWhenRemoved = false;
    QObject::connect(&model, &JobModel::rowRemoved, [&](int row) {
        removedSeen = row;
        jobAliveWhenRemoved = !job->inputPath.isEmpty();
    });
    std::thread worker([&] { model.setState(0, RowState::Completed); });
    worker.join();
    EXPECT_EQ(model.values(0).state, RowState::Completed);

    JobModel queued;
    queued.append(jobFor("/b.avi"));
    std::thread late([&] { queued.setState(0, RowState::Completed); });
    late.join();
    queued.remove(0);
    queued.append(jobFor("/c.avi"));
    bool marker = false;
    QMetaObject::invokeMethod(
        &queued, [&] { marker = true; }, Qt::QueuedConnection);
    ASSERT_TRUE(waitFor([&] { return marker; }));
    EXPECT_EQ(queued.values(0).state, RowState::Ready) << "a change never lands on another row";

    model.remove(0);
    EXPECT_EQ(removedSeen, 0);
    EXPECT_TRUE(jobAliveWhenRemoved) << "listeners let go of the job before it is freed";
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.move(0, 0));
}

TEST(JobModel, AKeptListStoresStatesByNameAndRefusesAnyOther)
{
    JobListStore::Kept kept;
    for (RowState state : {RowState::Ready, RowState::Converting, RowState::Completed,
                           RowState::Fail, RowState::Abort}) {
        JobListStore::Row row;
        row.inputPath = "/in.avi";
        row.state = state;
        kept.rows << row;
    }
    const QByteArray bytes = JobListStore::encode(kept);
    const std::optional<JobListStore::Kept> back = JobListStore::decode(bytes);
    ASSERT_TRUE(back);
    const RowState expected[] = {RowState::Ready, RowState::Ready, RowState::Completed,
                                 RowState::Fail, RowState::Abort};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(back->rows[i].state, expected[i]) << i;

    // A list from before statuses were kept is Ready; a name of no state is a damaged list.
    QByteArray old = bytes;
    old.replace("\"Completed\"", "\"\"");
    ASSERT_TRUE(JobListStore::decode(old));
    EXPECT_EQ(JobListStore::decode(old)->rows[2].state, RowState::Ready);
    for (const char* bad : {"\"Converting\"", "\"completed\"", "\"Completed \""}) {
        QByteArray damaged = bytes;
        damaged.replace("\"Fail\"", bad);
        EXPECT_FALSE(JobListStore::decode(damaged)) << bad;
    }
}

TEST(JobModel, AKeptSubFolderComesBackAndOneLeadingOutOfTheOutputFolderIsNotTrusted)
{
    JobListStore::Kept kept;
    JobListStore::Row row;
    row.inputPath = "/tree/a/b/x.avi";
    row.subfolder = "a/b";
    kept.rows << row;
    const QByteArray bytes = JobListStore::encode(kept);
    ASSERT_TRUE(JobListStore::decode(bytes));
    EXPECT_EQ(JobListStore::decode(bytes)->rows[0].subfolder, "a/b");
    for (const char* bad : {"\"../b\"", "\"a/../../b\"", "\"/etc\"", "\"\"", "7"}) {
        QByteArray damaged = bytes;
        damaged.replace("\"a/b\"", bad);
        EXPECT_FALSE(JobListStore::decode(damaged)) << bad;
    }
}

TEST(JobModel, AVerdictIsReadFromTheToolKeptInTheListAndForgottenWhenTheRowConvertsAgain)
{
    const std::optional<QualityVerdict> read = QualityVerdict::fromToolLine(
        "verdict: size=0.3812 ssim=0.98412 psnr=41.20 sampled=12.0/60.0 crf=27");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text(), "SSIM 0.984 (18.0 dB), PSNR 41.2 dB on a sample, 38 % of the "
                            "source's size, CRF 27 chosen");
    EXPECT_FALSE(QualityVerdict::fromToolLine("encode: something else"));
    // Figures no measure gives are dropped, not turned into nonsense (or worse).
    const std::optional<QualityVerdict> wild =
        QualityVerdict::fromToolLine("verdict: size=1e300 crf=3e113 psnr=nan");
    ASSERT_TRUE(wild);
    EXPECT_EQ(wild->crf, -1);
    EXPECT_LT(wild->sizeShare, 0);
    const std::optional<QualityVerdict> sound =
        QualityVerdict::fromToolLine("verdict: size=0.5 unmeasured=the source cannot be decoded");
    ASSERT_TRUE(sound);
    EXPECT_FALSE(sound->hasSsim());
    EXPECT_EQ(sound->text(), "50 % of the source's size, quality not measured: the source cannot "
                             "be decoded");

    JobModel model(JobModel::Direct);
    const int row = model.append(jobFor("/in.avi"));
    QualityVerdict low = *read;
    low.belowFloor = true;
    model.setVerdict(row, low);
    model.setState(row, RowState::Completed);

    JobListStore::Row kept;
    kept.inputPath = "/in.avi";
    kept.state = RowState::Completed;
    kept.verdict = model.values(row).verdict;
    const std::optional<JobListStore::Kept> back =
        JobListStore::decode(JobListStore::encode({{kept, kept}, QString()}));
    ASSERT_TRUE(back);
    const QualityVerdict& again = back->rows[0].verdict;
    EXPECT_EQ(again.text(), read->text());
    EXPECT_TRUE(again.belowFloor);
    QByteArray foreign = JobListStore::encode({{kept}, QString()});
    foreign.replace("\"verdict\": {", "\"verdict\": 3, \"x\": {");
    EXPECT_FALSE(JobListStore::decode(foreign));

    model.setState(row, RowState::Converting);
    EXPECT_TRUE(model.values(row).verdict.isEmpty());
}
