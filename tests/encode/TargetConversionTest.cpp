// Conversions aimed at a size or a quality, run through the built tool.
#include "CrfSearch.h"
#include "TestMedia.h"
#include "ToolRun.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

TEST(TargetConversion, SizesAreMetTogetherWithoutSharingPassLogsAndATooSmallOneIsRefused)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.mp4");
    const QString b = dir.filePath("b.mp4");
    ASSERT_TRUE(TestMedia::makeVideo(a, 30.0, "160x120", 25, false));
    ASSERT_TRUE(TestMedia::ffmpeg({"-f", "lavfi", "-i", "mandelbrot=size=160x120:rate=25", "-t",
                                   "30", "-c:v", "libx264", "-crf", "18", b}));
    // Two rows converting at once, each with two passes of its own.
    std::unique_ptr<QProcess> runs[2];
    const double megabytes[] = {0.4, 0.3};
    for (int i = 0; i < 2; ++i) {
        runs[i] = std::make_unique<QProcess>();
        runs[i]->start(toolPath(), conversion(i == 0 ? a : b,
                                              {"-vcodec", "libx264", "-preset", "veryfast",
                                               "-target_mb", QString::number(megabytes[i])},
                                              dir.filePath(QString("out%1.mp4").arg(i))));
        ASSERT_TRUE(runs[i]->waitForStarted());
        runs[i]->closeWriteChannel();
    }
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(runs[i]->waitForFinished(300000));
        const QByteArray said = runs[i]->readAllStandardError();
        EXPECT_EQ(runs[i]->exitCode(), 0) << said.toStdString();
        const double share = double(QFileInfo(dir.filePath(QString("out%1.mp4").arg(i))).size()) /
                             (megabytes[i] * 1e6);
        EXPECT_LE(share, 1.0) << said.toStdString();
        EXPECT_GE(share, 0.95) << said.toStdString();
        EXPECT_TRUE(said.contains("not cut into segments: a target size is set"));
    }

    // Sound at 128 kbit/s alone takes 480 kB of 30 s.
    const QString voiced = dir.filePath("voiced.mp4");
    ASSERT_TRUE(TestMedia::makeVideo(voiced, 30.0, "160x120", 25, true));
    const QString tooSmall = dir.filePath("small.mp4");
    const ToolRun run = runTool(conversion(
        voiced, {"-vcodec", "libx264", "-acodec", "libfaac", "-ab", "128k", "-target_mb", "0.4"},
        tooSmall));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("a target size of 0.4 MB is too small for 30.0 s with its "
                                 "sound; the least that works is 0.7 MB"))
        << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tooSmall));
}

TEST(TargetConversion, ATargetQualityChoosesTheHighestCrfWhoseSamplesReachIt)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("detail.mp4");
    ASSERT_TRUE(
        TestMedia::ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-t", "8", "-vf",
                           "noise=alls=12:allf=t+u", "-c:v", "libx264", "-crf", "10", clip}));
    const ToolRun run = runTool(
        conversion(clip, {"-vcodec", "libx264", "-preset", "veryfast", "-target_ssim", "0.97"},
                   dir.filePath("out.mp4")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QRegularExpression probe("CRF (\\d+) gives SSIM ([0-9.]+) at (\\d+) bytes");
    int probes = 0;
    for (auto it = probe.globalMatch(QString::fromLatin1(run.err)); it.hasNext(); it.next())
        ++probes;
    EXPECT_GE(probes, 2);
    EXPECT_LE(probes, 6);
    const QRegularExpressionMatch chosen =
        QRegularExpression("CRF (\\d+) chosen").match(QString::fromLatin1(run.err));
    ASSERT_TRUE(chosen.hasMatch()) << run.err.toStdString();
    const QByteArray verdict = verdictLine(run);
    EXPECT_TRUE(verdict.contains("crf=" + chosen.captured(1).toLatin1())) << verdict.toStdString();
    const QRegularExpressionMatch ssim =
        QRegularExpression("ssim=([0-9.]+)").match(QString::fromLatin1(verdict));
    ASSERT_TRUE(ssim.hasMatch());
    EXPECT_GE(ssim.captured(1).toDouble(), 0.97 - 0.005) << run.err.toStdString();
}

// The search over made-up SSIM curves: never more than its probes, never a CRF that missed, and
// the best CRF or the one just below it, in at most four probes, where the curve is smooth.
TEST(TargetConversion, TheCrfSearchConvergesOnCurvesOfEveryShape)
{
    struct Curve
    {
        const char* name;
        int ceiling;
        int start;
        std::function<double(int)> db; // SSIM in dB at a CRF
        int best;                      // the highest CRF at or over 15 dB; -1 for none
        bool smooth;
    };
    const std::vector<Curve> curves = {
        {"straight", 51, 23, [](int c) { return 21 - 0.3 * c; }, 20, true},
        {"steep", 51, 23, [](int c) { return 30 - 0.9 * c; }, 16, true},
        {"flat", 63, 30, [](int c) { return 17 - 0.05 * c; }, 40, true},
        {"bent", 51, 23, [](int c) { return 25 - 0.004 * c * c; }, 50, true},
        {"wobbly", 51, 23, [](int c) { return 19 - 0.25 * c + (c % 3 ? 0.2 : -0.2); }, 16, false},
        {"never reached", 51, 23, [](int c) { return 14.9 - 0.2 * c; }, -1, true},
        {"always reached", 63, 30, [](int c) { return 40 - 0.1 * c; }, 63, true},
    };
    const double goal = 1 - std::pow(10, -1.5); // 15 dB
    for (const Curve& c : curves) {
        SCOPED_TRACE(c.name);
        CrfSearch search(goal, c.ceiling, c.start);
        int probes = 0;
        for (int crf = search.next(); crf >= 0; crf = search.next(), ++probes)
            search.add(crf, 1 - std::pow(10, -c.db(crf) / 10));
        // Few probes are what makes a target quality affordable.
        EXPECT_LE(probes, c.smooth ? 4 : CrfSearch::kMostProbes);
        if (c.best < 0) {
            EXPECT_EQ(search.chosen(), -1);
            continue;
        }
        ASSERT_GE(search.chosen(), 0);
        EXPECT_GE(c.db(search.chosen()), 15 - 1e-9);
        EXPECT_GE(search.chosen(), c.best - (c.smooth ? 1 : 4));
    }
}
