// The tool's progress. Input: the clip's length in seconds on the first line, then output
// lines: each is handed to the engine as the tool would print it, and fed to the tool's
// writer as ffmpeg's progress output.
// Every percentage must lie in 1..100, and every line the writer makes must give exactly one.
#include "CFfmpegEncoder.h"
#include "ConversionJob.h"
#include "FuzzSupport.h"
#include "ProgressLineWriter.h"

using namespace FuzzSupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray rest = bytes(data, size);
    bool ok = false;
    const double length = takeLine(rest).toDouble(&ok);

    int reports = 0;
    EncoderSetup setup;
    setup.appFolder = QStringLiteral("/nonexistent/tovel/");
    setup.callback = [&reports](int percent, void*) {
        check(percent >= 1 && percent <= 100, "percentage out of 1..100");
        ++reports;
    };
    CFfmpegEncoder encoder;
    encoder.Attach(&setup);
    ConversionJob job;
    job.inputPath = QStringLiteral("/media/clip.avi");
    job.outputPath = QStringLiteral("/media/clip.mp4");
    job.progressDuration = ok ? length : 11.0;
    job.profile = std::make_unique<Profile>();
    check(encoder.Setup(&job) == 1, "setup failed");

    ProgressLineWriter writer;
    while (!rest.isEmpty()) {
        const QByteArray line = takeLine(rest);
        encoder.Event(CMediaEncoder::LineComplete, 0, line, 0);
        if (!writer.feed(line))
            continue;
        const QByteArray made = writer.line();
        check(made.size() > 1 && made.endsWith('\n'), "writer dropped its line");
        reports = 0;
        encoder.Event(CMediaEncoder::LineComplete, 0, made.chopped(1), 0);
        check(reports == 1, "writer's line gave no percentage");
    }
    return 0;
}
