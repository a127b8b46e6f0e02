// The preview's output picture made by the real tool from a row's own command line.
#include "OutputStill.h"
#include "ConversionJob.h"
#include "TestMedia.h"
#include "TestProfiles.h"
#include "WaitFor.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Answer
{
    quint64 id = 0;
    QString path;
    QSize frame;
    QString reason;
};

} // namespace

TEST(OutputStill, OnlyTheNewestRequestIsAnsweredAndRowsWithoutAPictureSayWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestMedia::makeVideo(dir.filePath("clip.avi"), 2.0, "320x240"));
    ConversionJob job;
    job.inputPath = dir.filePath("clip.avi");
    job.media.hasVideo = 1;
    job.profile = MakeProfile({{"f", "mp4"}, {"vcodec", "libx264"}, {"s", "160x120"}});
    OutputStill still(TestMedia::appDir());
    QList<Answer> answers;
    QObject::connect(&still, &OutputStill::ready, [&](quint64 id, const QString& path, QSize size) {
        answers << Answer{id, path, size, {}};
    });
    QObject::connect(&still, &OutputStill::failed, [&](quint64 id, const QString& why) {
        answers << Answer{id, {}, {}, why};
    });

    // The first is replaced before it can answer.
    still.request(job, 0.5);
    const quint64 newest = still.request(job, 1.0);
    ASSERT_TRUE(waitFor([&] { return !answers.isEmpty() && !still.busy(); }));
    ASSERT_EQ(answers.size(), 1);
    EXPECT_EQ(answers[0].id, newest) << answers[0].reason.toStdString();
    EXPECT_EQ(answers[0].frame, QSize(160, 120));
    EXPECT_TRUE(QFileInfo(answers[0].path).isFile());

    answers.clear();
    job.profile = MakeProfile({{"f", "mp4"}, {"vcodec", "copy"}});
    const quint64 copy = still.request(job, 1.0);
    ASSERT_TRUE(waitFor([&] { return !answers.isEmpty(); }));
    EXPECT_EQ(answers[0].id, copy);
    EXPECT_TRUE(answers[0].reason.contains("copies the picture as it is"))
        << answers[0].reason.toStdString();

    answers.clear();
    job.profile = MakeProfile({{"vcodec", "rv40"}}, "rm");
    still.request(job, 1.0);
    ASSERT_TRUE(waitFor([&] { return !answers.isEmpty(); }));
    EXPECT_TRUE(answers[0].reason.contains("RealMedia")) << answers[0].reason.toStdString();
}
