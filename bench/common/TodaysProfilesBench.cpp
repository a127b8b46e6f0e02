// Prints, for each video profile of today's encoders, the seconds a 30-second 1280x720 clip
// takes through the encoder tool and the times real time that is; then the stream copies
// against the H.264 re-encode, on that clip and on a 10-second 640x360 one.
// Usage: bench_todays_profiles [seconds of the long clip]
#include "BenchSupport.h"
#include "CEncoderCommandBuilder.h"
#include "ProfileReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

const QString kAppDir = QStringLiteral(TOVEL_APP_DIR);

bool ffmpeg(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), args);
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

// A camera-like source: H.264 and AAC in MP4.
bool makeClip(const QString& path, int seconds, const QString& size)
{
    return ffmpeg(
        lavfiSourceArgs(
            QStringLiteral("testsrc2=size=%1:rate=30:duration=%2").arg(size).arg(seconds),
            QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds)) +
        QStringList{"-c:v", "libx264", "-preset", "veryfast", "-crf", "20", "-pix_fmt", "yuv420p",
                    "-c:a", "aac", "-shortest", path});
}

// Seconds the profile's conversion of `input` takes through the tool; negative on failure.
double convert(const QString& profileFile, const QString& input, const QString& output)
{
    Profile profile;
    ProfileReader::Read(kAppDir + "profiles/" + profileFile, profileFile.toUtf8(), profile);
    const EncoderCommand command =
        CEncoderCommandBuilder::conversion(kAppDir, input, &profile, output);
    QProcess tool;
    QElapsedTimer clock;
    clock.start();
    tool.start(command.program, command.arguments);
    if (!tool.waitForStarted(30000))
        return -1;
    tool.closeWriteChannel();
    while (!tool.waitForFinished(100)) {
        tool.readAllStandardOutput();
        tool.readAllStandardError();
    }
    const double seconds = clock.elapsed() / 1000.0;
    if (tool.exitCode() != 0 || QFileInfo(output).size() == 0) {
        std::printf("  %s failed: %s\n", qPrintable(profileFile),
                    tool.readAllStandardError().constData());
        return -1;
    }
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    QTemporaryDir dir;
    const QString big = dir.filePath("camera 720p.mp4");
    const QString small = dir.filePath("camera 360p.mp4");
    if (!makeClip(big, seconds, "1280x720") || !makeClip(small, 10, "640x360")) {
        std::printf("cannot make the clips with ffmpeg\n");
        return 1;
    }

    struct Row
    {
        const char* file;
        const char* ext;
        double seconds;
    } rows[] = {
        {"18-mp4-h264-quality.pf", "mp4", 0}, {"19-mp4-h265.pf", "mp4", 0},
        {"20-mp4-av1.pf", "mp4", 0},          {"21-webm-vp9.pf", "webm", 0},
        {"22-mp4-copy.pf", "mp4", 0},         {"23-mkv-copy.pf", "mkv", 0},
    };
    std::printf("%d s 1280x720 30 fps H.264+AAC clip through each profile:\n", seconds);
    std::printf("  %-24s %10s %14s\n", "profile", "seconds", "x real time");
    for (Row& row : rows) {
        row.seconds = convert(row.file, big,
                              dir.filePath(QStringLiteral("out-%1.%2").arg(row.file, row.ext)));
        if (row.seconds > 0)
            std::printf("  %-24s %10.2f %14.2f\n", row.file, row.seconds, seconds / row.seconds);
    }
    if (rows[0].seconds > 0 && rows[4].seconds > 0)
        std::printf("MP4 copy / H.264 re-encode (720p): %.4f (%.0f times faster)\n",
                    rows[4].seconds / rows[0].seconds, rows[0].seconds / rows[4].seconds);

    const double encode = convert("18-mp4-h264-quality.pf", small, dir.filePath("s-h264.mp4"));
    const double copy = convert("22-mp4-copy.pf", small, dir.filePath("s-copy.mp4"));
    if (encode > 0 && copy > 0)
        std::printf("10 s 640x360: H.264 re-encode %.2f s, MP4 copy %.2f s, copy / re-encode "
                    "%.4f\n",
                    encode, copy, copy / encode);
    return 0;
}
