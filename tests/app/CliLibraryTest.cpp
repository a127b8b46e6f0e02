// tovel-cli over a library: a folder's tree kept, a watched folder, Ctrl+Z at the terminal, rows
// skipped and rows below the least quality.
#include "ProgramRun.h"
#include "RealToolCli.h"
#include "SegmentWorkFolder.h"
#include "WaitFor.h"

#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <signal.h>
#include <unistd.h>

TEST_F(RealToolCliTest, AKeptFolderTreeConvertsIntoTheSameSubFoldersMadeOnTheWay)
{
    const QString tree = work.path() + "/phone";
    ASSERT_TRUE(QDir().mkpath(tree + "/2025-01"));
    ASSERT_TRUE(QDir().mkpath(tree + "/2025-02/b"));
    ASSERT_TRUE(TestMedia::makeVideo(tree + "/top.avi", 0.5, "160x120"));
    ASSERT_TRUE(TestMedia::makeVideo(tree + "/2025-01/VID_0001.avi", 0.5, "160x120"));
    ASSERT_TRUE(TestMedia::makeVideo(tree + "/2025-02/b/VID_0001.avi", 0.5, "160x120"));
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/loose.avi", 0.5, "160x120"));
    // A name already taken in a sub-folder is renamed there, and only there.
    ASSERT_TRUE(QDir().mkpath(out() + "/2025-01"));
    ASSERT_TRUE(TestMedia::writeFile(out() + "/2025-01/VID_0001.mp4", "older"));

    const Result result = convert({"--keep-tree", tree, work.path() + "/loose.avi"});
    ASSERT_EQ(result.exitCode, 0) << result.out.toStdString() << result.err.toStdString();
    for (const char* made :
         {"/top.mp4", "/2025-01/VID_0001-0.mp4", "/2025-02/b/VID_0001.mp4", "/loose.mp4"})
        EXPECT_GT(TestMedia::probeDuration(out() + made), 0.2) << made;
    EXPECT_EQ(TestMedia::readFile(out() + "/2025-01/VID_0001.mp4"), "older");
    EXPECT_FALSE(QFileInfo::exists(out() + "/phone")); // the added folder's name is not repeated
}

namespace {

// `root` and every process below it, each with its state letter (R, S, T, ...), from /proc.
QList<QPair<pid_t, char>> processTree(pid_t root)
{
    QHash<pid_t, QPair<pid_t, char>> byPid; // parent and state
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        const QByteArray stat = TestMedia::readFile("/proc/" + entry + "/stat");
        const qsizetype end = stat.lastIndexOf(')'); // the command may hold blanks
        const QList<QByteArray> fields = stat.mid(end + 2).split(' ');
        if (end > 0 && fields.size() > 2)
            byPid.insert(entry.toInt(), {fields[1].toInt(), fields[0].at(0)});
    }
    QList<QPair<pid_t, char>> found{{root, byPid.value(root).second}};
    QList<pid_t> parents{root};
    while (!parents.isEmpty()) {
        const pid_t parent = parents.takeFirst();
        for (auto it = byPid.begin(); it != byPid.end(); ++it)
            if (it->first == parent) {
                found.append({it.key(), it->second});
                parents.append(it.key());
            }
    }
    return found;
}

} // namespace

TEST_F(RealToolCliTest, CtrlZStopsTheEncoderAndItsFfmpegsAndFgLetsThemFinish)
{
    const QString clip = work.path() + "/night.mp4";
    ASSERT_TRUE(makeRecording(clip));
    const QString output = out() + "/night.mp4";
    QProcess cli;
    cli.setProcessEnvironment(shortSegments());
    // A job of its own, as a shell gives each command line.
    cli.setChildProcessModifier([] { ::setpgid(0, 0); });
    cli.start(app.path() + "/tovel-cli",
              {"--profile", "MP4 - H.264 Video (Quality)", "--output", out(), clip});
    ASSERT_TRUE(cli.waitForStarted());
    const pid_t job = pid_t(cli.processId());
    ASSERT_TRUE(waitFor([&] { return SegmentWorkFolder::donePercent(output, clip) > 0; }));

    ::kill(-job, SIGTSTP); // what the terminal sends for Ctrl+Z
    const auto allStopped = [&] {
        const QList<QPair<pid_t, char>> below = processTree(job);
        return below.size() >= 3 && std::all_of(below.begin(), below.end(),
                                                [](const auto& p) { return p.second == 'T'; });
    };
    EXPECT_TRUE(waitFor(allStopped)) << "a child kept running while the job was stopped";
    ::kill(-job, SIGCONT); // fg
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(TestMedia::probeDuration(output), 20.0);
}

// A running `tovel-cli --watch`, its output read as it comes.
struct Watching
{
    QProcess cli;
    QString said;

    Watching(const QString& program, const QStringList& arguments)
    {
        cli.start(program, arguments);
        EXPECT_TRUE(cli.waitForStarted());
    }
    // Waits until the output holds `text`.
    ::testing::AssertionResult saw(const QString& text)
    {
        return waitFor(
            [&] {
                cli.waitForReadyRead(50);
                said += QString::fromLocal8Bit(cli.readAllStandardOutput() +
                                               cli.readAllStandardError());
                return said.contains(text);
            },
            120000, text.toStdString());
    }
    // Ends the watch as a service manager would; its exit code.
    int terminate()
    {
        ::kill(pid_t(cli.processId()), SIGTERM);
        EXPECT_TRUE(cli.waitForFinished(120000));
        said += QString::fromLocal8Bit(cli.readAll());
        return cli.exitCode();
    }
};

TEST_F(RealToolCliTest, AWatchConvertsWhatIsThereAndWhatArrivesOnceAndOnlyOnce)
{
    const QString in = work.path() + "/camera";
    ASSERT_TRUE(QDir().mkpath(in + "/day2"));
    ASSERT_TRUE(TestMedia::makeVideo(in + "/a.avi", 0.5, "160x120"));
    ASSERT_TRUE(TestMedia::makeVideo(in + "/done.avi", 0.5, "160x120"));
    ASSERT_TRUE(QDir().mkpath(out()));
    ASSERT_TRUE(TestMedia::writeFile(out() + "/done.mp4", "converted last year"));
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/b.avi", 0.5, "160x120"));
    const QStringList arguments = {"--profile",   mp4,       "--output", out(),
                                   "--keep-tree", "--watch", in};
    {
        Watching watch(app.path() + "/tovel-cli", arguments);
        ASSERT_TRUE(watch.saw("a.avi: Completed"));
        // Copied in under a partial name, then renamed: taken once whole, in its sub-folder.
        ASSERT_TRUE(QFile::copy(work.path() + "/b.avi", in + "/day2/b.avi.part"));
        ASSERT_TRUE(QFile::rename(in + "/day2/b.avi.part", in + "/day2/b.avi"));
        ASSERT_TRUE(watch.saw("b.avi: Completed"));
        ASSERT_TRUE(QDir().rename(in, in + "-away"));
        ASSERT_TRUE(watch.saw("The watched folder is gone"));
        ASSERT_TRUE(QDir().rename(in + "-away", in));
        ASSERT_TRUE(watch.saw("The watched folder is back"));
        EXPECT_EQ(watch.terminate(), 0);
        EXPECT_EQ(watch.said.count("Completed"), 2) << watch.said.toStdString();
        EXPECT_FALSE(watch.said.contains("done.avi")) << "its output was there";
    }
    EXPECT_GT(TestMedia::probeDuration(out() + "/day2/b.mp4"), 0.2);
    EXPECT_EQ(TestMedia::readFile(out() + "/done.mp4"), "converted last year");

    // Started again with a.mp4 gone: the record, not the output, keeps a.avi from converting.
    ASSERT_TRUE(QFile::remove(out() + "/a.mp4"));
    Watching again(app.path() + "/tovel-cli", arguments);
    ASSERT_TRUE(again.saw("Watching"));
    ASSERT_TRUE(TestMedia::makeVideo(in + "/c.avi", 0.5, "160x120"));
    ASSERT_TRUE(again.saw("c.avi: Completed"));
    EXPECT_EQ(again.terminate(), 0);
    EXPECT_EQ(again.said.count("Completed"), 1) << again.said.toStdString();

    // A damaged record is set aside and said once; the watch goes on afresh.
    const QStringList records = QDir(app.path()).entryList({"watch-*.json"});
    ASSERT_EQ(records.size(), 1);
    ASSERT_TRUE(TestMedia::writeFile(app.path() + '/' + records[0], "{\"format\": 7"));
    Watching afresh(app.path() + "/tovel-cli", arguments);
    ASSERT_TRUE(afresh.saw("a.avi: Completed"));
    EXPECT_TRUE(afresh.said.contains("The watch record could not be read; it was set aside as"));
    EXPECT_EQ(afresh.terminate(), 0);
}

TEST_F(RealToolCliTest, SkippedRowsSayWhyAndCountApartFromCompletedOnes)
{
    const QString h264 = work.path() + "/phone.mp4";
    const QString lean = work.path() + "/lean.avi";
    const QString rich = work.path() + "/rich.avi";
    const QString tiny = work.path() + "/tiny.mkv";
    const QStringList pattern{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1"};
    ASSERT_TRUE(TestMedia::ffmpeg(pattern + QStringList{"-c:v", "libx264", "-y", h264}));
    ASSERT_TRUE(TestMedia::ffmpeg(pattern + QStringList{"-c:v", "mpeg4", "-b:v", "200k", lean}));
    ASSERT_TRUE(TestMedia::ffmpeg(
        pattern + QStringList{"-vf", "noise=alls=60:allf=t", "-c:v", "mpeg4", "-q:v", "1", rich}));
    ASSERT_TRUE(TestMedia::ffmpeg(pattern + QStringList{"-c:v", "libx264", "-crf", "51", tiny}));

    // Already H.264 through today's H.264 profile: nothing to do, and the row says why.
    Result result =
        runProgram(app.path() + "/tovel-cli", {"--profile", "MP4 - H.264 Video (Quality)",
                                               "--output", out(), "--skip-same-codec", h264});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("phone.mp4: Skipped - it is already h264"))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("1 file skipped:")) << result.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out() + "/phone.mp4"));

    // MPEG-4 below the profile's bit rate is skipped; above it, converted.
    result = convert({"--skip-same-codec", lean, rich});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(QRegularExpression(
        "lean\\.avi: Skipped - it is already mpeg4 at \\d+ kbit/s, no more than the profile's")))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("rich.avi: Completed")) << result.out.toStdString();

    // An output larger than its source is removed; the row gives both sizes.
    result = convert({"--keep-smaller", tiny});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(QRegularExpression(
        "tiny\\.mkv: Skipped[^\n]* - its output \\(\\d+ bytes\\) came out larger than its source "
        "\\(\\d+ bytes\\) and was removed")))
        << result.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out() + "/tiny.mp4"));

    // Or the source takes its place, in its own container.
    result = convert({"--copy-if-larger", tiny});
    EXPECT_TRUE(result.out.contains("; the source was copied in its place as tiny.mkv"))
        << result.out.toStdString();
    EXPECT_EQ(TestMedia::readFile(out() + "/tiny.mkv"), TestMedia::readFile(tiny));
    EXPECT_FALSE(QFileInfo::exists(out() + "/tiny.mp4"));
}

TEST_F(RealToolCliTest, ARowBelowTheLeastQualityIsListedOrWithMinSsimFailsKeepingItsFile)
{
    // Heavy noise squeezed into a phone's bit rate comes out blocky.
    const QString noisy = work.path() + "/noisy.avi";
    ASSERT_TRUE(
        TestMedia::ffmpeg({"-f", "lavfi", "-i", "testsrc=size=176x144:rate=25:duration=2", "-vf",
                           "noise=alls=100:allf=t", "-c:v", "mpeg4", "-q:v", "1", noisy}));
    const QStringList phone{"--profile", "3GP - Mobile Phone Video", "--output", out()};
    Result result = runProgram(app.path() + "/tovel-cli", phone + QStringList{noisy});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    const QRegularExpression verdict(
        "noisy\\.avi: Completed[^\n]*\\[SSIM 0\\.\\d{3} \\(\\d+\\.\\d dB\\), PSNR \\d+\\.\\d dB, "
        "\\d+ % of the source's size\\]");
    EXPECT_TRUE(result.out.contains(verdict)) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("1 file below SSIM 0.95:\nnoisy.avi: SSIM 0."))
        << result.out.toStdString();

    result = runProgram(app.path() + "/tovel-cli",
                        phone + QStringList{"--overwrite", "--min-ssim", "0.9", noisy});
    EXPECT_EQ(result.exitCode, 1) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(
        QRegularExpression("noisy\\.avi: Fail[^\n]* - the output's quality is below SSIM 0\\.9\n")))
        << result.out.toStdString();
    EXPECT_TRUE(QFileInfo(out() + "/noisy.3gp").size() > 0);
    EXPECT_EQ(runProgram(app.path() + "/tovel-cli", phone + QStringList{"--min-ssim", "1", noisy})
                  .exitCode,
              2);
}
