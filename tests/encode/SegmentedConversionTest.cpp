// The tool cutting a video into segments, run as the converter runs it, on clips made by ffmpeg.
#include "EncoderToolContract.h"
#include "SegmentWorkFolder.h"
#include "TestMedia.h"
#include "ToolRun.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return p.readAllStandardOutput();
}

int frames(const QString& path)
{
    return run("ffprobe", {"-v", "error", "-select_streams", "v:0", "-count_frames",
                           "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", path})
        .trimmed()
        .toInt();
}

// The decoded pictures' checksums, one line each.
QByteArray pictureSums(const QString& path)
{
    QByteArray sums;
    for (const QByteArray& line :
         run("ffmpeg", {"-v", "error", "-i", path, "-map", "0:v", "-f", "framemd5", "-"})
             .split('\n'))
        if (!line.startsWith('#'))
            sums += line.split(',').last() + '\n';
    return sums;
}

double streamSeconds(const QString& path, const char* type)
{
    return run("ffprobe", {"-v", "error", "-select_streams", QString(type) + ":0", "-show_entries",
                           "stream=duration", "-of", "csv=p=0", path})
        .trimmed()
        .toDouble();
}

int count(const QByteArray& text, const char* pattern)
{
    return int(QString::fromLocal8Bit(text).count(QRegularExpression(pattern)));
}

class SegmentedConversionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir->isValid());
        // Key frames every second, a title and sound: what a recording holds.
        ASSERT_TRUE(TestMedia::ffmpeg({"-f",        "lavfi",
                                       "-i",        "testsrc2=size=640x360:rate=25",
                                       "-f",        "lavfi",
                                       "-i",        "sine=frequency=440",
                                       "-t",        "20",
                                       "-c:v",      "libx264",
                                       "-g",        "25",
                                       "-c:a",      "aac",
                                       "-metadata", "title=Recording",
                                       "-y",        at("source.mp4")}));
    }
    static void TearDownTestSuite() { dir.reset(); }
    static QString at(const QString& name) { return dir->filePath(name); }

    static QProcessEnvironment cutting()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(EncoderToolContract::kSegmentSecondsVariable, "2");
        env.insert(EncoderToolContract::kProcessorsVariable, "2");
        return env;
    }
    static ToolRun convert(const QString& out, const QString& crf = "23",
                           const std::function<void(QProcess&)>& during = {})
    {
        return runTool(conversion(at("source.mp4"),
                                  {"-f", "mp4", "-vcodec", "libx264", "-crf", crf, "-preset",
                                   "veryfast", "-acodec", "libfaac", "-ab", "128k"},
                                  out),
                       QString(), cutting(), during);
    }
    // Segments of `out`'s work folder entered as finished.
    static int kept(const QString& out)
    {
        return int(SegmentWorkFolder::manifestFor(out, at("source.mp4"))
                       .value(SegmentWorkFolder::kDoneKey)
                       .toArray()
                       .size());
    }
    // Ends the run once a segment is kept, by the stop request or, with `kill`, at once.
    static std::function<void(QProcess&)> endOnceKept(const QString& out, bool kill)
    {
        return [out, kill](QProcess& p) {
            EXPECT_TRUE(waitFor([&] { return kept(out) >= 1; }, 120000, "a kept segment"));
            if (kill)
                p.kill();
            else
                p.write(QByteArray(EncoderToolContract::kStopRequest,
                                   EncoderToolContract::kStopRequestSize));
        };
    }

    static std::unique_ptr<QTemporaryDir> dir;
};
std::unique_ptr<QTemporaryDir> SegmentedConversionTest::dir;

constexpr char kEncoded[] = "encode: segment \\d+ of \\d+: ";
constexpr char kReused[] = "kept from an earlier run";

} // namespace

TEST_F(SegmentedConversionTest, CutConversionKeepsEveryFrameTheSoundAndTheTags)
{
    const QString out = at("whole.mp4");
    const ToolRun done = convert(out);
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_GE(count(done.err, kEncoded), 9) << done.err.toStdString();
    EXPECT_TRUE(done.err.contains("the join: ")) << done.err.toStdString();
    EXPECT_EQ(frames(out), 500);
    // Sound and picture end together, within one frame.
    EXPECT_NEAR(streamSeconds(out, "a"), streamSeconds(out, "v"), 0.04);
    EXPECT_TRUE(run("ffprobe", {"-v", "error", "-show_entries", "format_tags=title", out})
                    .contains("title=Recording"));
    EXPECT_FALSE(QFileInfo::exists(SegmentWorkFolder::folderFor(out)));
    // Progress never goes back.
    int last = -1;
    for (const QByteArray& line : done.out.split('\n')) {
        if (line.isEmpty())
            continue;
        EXPECT_GE(progressSeconds(line), last);
        last = progressSeconds(line);
    }
    EXPECT_EQ(last, 20);
}

TEST_F(SegmentedConversionTest, StoppedRunResumesToTheSamePicturesAndNewSettingsStartAfresh)
{
    const QString out = at("stopped.mp4");
    const ToolRun stopped = convert(out, "23", endOnceKept(out, false));
    EXPECT_NE(stopped.exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(out)); // no shortened file under the output's name
    const int keptSegments = kept(out);
    ASSERT_GE(keptSegments, 1);

    const ToolRun resumed = convert(out);
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    EXPECT_EQ(count(resumed.err, kReused), keptSegments) << resumed.err.toStdString();
    EXPECT_EQ(count(resumed.err, kEncoded) + keptSegments, 10) << resumed.err.toStdString();
    EXPECT_GE(progressSeconds(resumed.out.left(resumed.out.indexOf('\n'))), 2 * keptSegments - 1);
    EXPECT_EQ(frames(out), 500);
    const ToolRun whole = convert(at("uninterrupted.mp4"));
    ASSERT_EQ(whole.exitCode, 0);
    EXPECT_EQ(pictureSums(out), pictureSums(at("uninterrupted.mp4")));

    // The same row stopped again, then converted with another quality: nothing is reused.
    QFile::remove(out);
    convert(out, "23", endOnceKept(out, false));
    ASSERT_GE(kept(out), 1);
    const ToolRun changed = convert(out, "30");
    ASSERT_EQ(changed.exitCode, 0) << changed.err.toStdString();
    EXPECT_EQ(count(changed.err, kReused), 0);
}

TEST_F(SegmentedConversionTest, KilledRunReusesOnlySoundSegments)
{
    const QString out = at("killed.mp4");
    convert(out, "23", endOnceKept(out, true));
    EXPECT_FALSE(QFileInfo::exists(out));
    const int keptSegments = kept(out);
    ASSERT_GE(keptSegments, 1);
    // A kept segment damaged on disk is made again, not trusted.
    const int index = SegmentWorkFolder::manifestFor(out, at("source.mp4"))
                          .value(SegmentWorkFolder::kDoneKey)
                          .toArray()
                          .first()
                          .toObject()
                          .value("index")
                          .toInt();
    const QString damaged = QDir(SegmentWorkFolder::folderFor(out))
                                .filePath(QString("segment-%1.mp4").arg(index, 4, 10, QChar('0')));
    ASSERT_TRUE(QFile::resize(damaged, QFileInfo(damaged).size() / 2));

    const ToolRun resumed = convert(out);
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    EXPECT_EQ(count(resumed.err, kReused), keptSegments - 1) << resumed.err.toStdString();
    EXPECT_EQ(frames(out), 500);
    EXPECT_FALSE(QFileInfo::exists(SegmentWorkFolder::folderFor(out)));
}

TEST_F(SegmentedConversionTest, ShortSourcesAndTheEnginesNoConvertWholeQuietly)
{
    QProcessEnvironment off = cutting();
    off.insert(EncoderToolContract::kSegmentsVariable, "0");
    const ToolRun refused = runTool(
        conversion(at("source.mp4"), {"-vcodec", "libx264"}, at("off.mp4")), QString(), off);
    ASSERT_EQ(refused.exitCode, 0) << refused.err.toStdString();
    EXPECT_EQ(count(refused.err, kEncoded), 0);

    ASSERT_TRUE(TestMedia::makeVideo(at("short.mp4"), 3.0));
    const ToolRun shortRun =
        runTool(conversion(at("short.mp4"), {"-vcodec", "libx264"}, at("short-out.mp4")), QString(),
                cutting());
    ASSERT_EQ(shortRun.exitCode, 0) << shortRun.err.toStdString();
    EXPECT_TRUE(complaints(shortRun).isEmpty()) << shortRun.err.toStdString();
}
