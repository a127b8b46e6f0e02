// Prints the time one probe takes per file: the in-process detector, the encoder tool's
// information mode (the fallback), and ffprobe on the same file, with the ratios.
// Usage: bench_probe [rounds] [application folder]
#include "CEncoderCommandBuilder.h"
#include "CMediaDetector.h"
#include "CToolInformationProbe.h"
#include "EncoderTool.h"
#include "MediaInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

bool ffmpeg(const QStringList& args)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool ffprobe(const QString& path)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_entries", "format=duration:stream=width,height",
                        "-of", "compact", path});
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

// Mean milliseconds of `rounds` calls; negative when a call failed.
double timeIt(int rounds, const std::function<bool()>& probe)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i) {
        if (!probe())
            return -1;
    }
    return double(clock.nsecsElapsed()) / 1e6 / rounds;
}

void row(const char* what, double ms, double reference)
{
    if (ms < 0)
        std::printf("  %-22s failed\n", what);
    else
        std::printf("  %-22s %9.3f ms   %7.3fx ffprobe\n", what, ms, ms / reference);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 20;
    const QString appFolder =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) + '/' : QStringLiteral(TOVEL_APP_DIR);
    const QString tool = appFolder + EncoderTool::fileName();
    const bool haveTool = QFileInfo(tool).isExecutable();

    QTemporaryDir dir;
    struct Sample
    {
        const char* name;
        QString path;
        QStringList make;
    };
    const QString video = dir.filePath("clip.mp4");
    const QString longVideo = dir.filePath("long.avi");
    const QString audio = dir.filePath("tone.mp3");
    const QString still = dir.filePath("picture.png");
    const Sample samples[] = {
        {"mp4 10 s 320x240",
         video,
         {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=10", "-f", "lavfi", "-i",
          "sine=duration=10", "-pix_fmt", "yuv420p", "-shortest", video}},
        {"avi 60 s 640x480",
         longVideo,
         {"-f", "lavfi", "-i", "testsrc=size=640x480:rate=25:duration=60", "-c:v", "mpeg4",
          longVideo}},
        {"mp3 10 s", audio, {"-f", "lavfi", "-i", "sine=duration=10", audio}},
        {"png 160x120",
         still,
         {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=1", "-frames:v", "1", still}},
    };

    std::printf("probe per file, mean of %d rounds\n", rounds);
    if (!haveTool)
        std::printf("(encoder tool not built at %s: fallback not measured)\n", qPrintable(tool));
    for (const Sample& s : samples) {
        if (!ffmpeg(s.make)) {
            std::printf("%s: could not be made\n", s.name);
            continue;
        }
        const double reference = timeIt(rounds, [&] { return ffprobe(s.path); });
        const double detector = timeIt(rounds, [&] {
            MediaInfo info;
            return CMediaDetector::detect(s.path, info);
        });
        std::printf("%s\n", s.name);
        row("ffprobe", reference, reference);
        row("in-process detector", detector, reference);
        if (haveTool) {
            const EncoderCommand info = CEncoderCommandBuilder::information(appFolder, s.path);
            const double fallback = timeIt(rounds, [&] {
                CToolInformationProbe::Reply reply;
                return CToolInformationProbe::run(info.program, info.arguments, reply, 30000, 5000);
            });
            row("tool information mode", fallback, reference);
        }
    }
    return 0;
}
