// The old tool's option language. Input: one byte choosing what the input file holds, then
// the tool's arguments, one per line.
// Parsing and translation must never fail unsafely, and ffmpeg must be told the line's own
// input and output files.
#include "FuzzSupport.h"
#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "LibavMediaLibrary.h"

#include <QStringList>

using namespace FuzzSupport;

namespace {

MediaProbeResult probed(uint8_t kind)
{
    MediaProbeResult r;
    switch (kind % 4) {
    case 0: // video with sound
        r.hasAudio = true;
        r.sampleRate = 48000;
        r.channels = 6;
        r.audioDuration = 12.5;
        [[fallthrough]];
    case 1: // video only, odd rate
        r.hasVideo = true;
        r.width = 720;
        r.height = 576;
        r.frameRate = kind % 4 ? 29.97 : 25;
        r.videoDuration = 12.5;
        r.demuxer = "mov";
        break;
    case 2: // a still picture
        r.hasVideo = r.isStillPicture = true;
        r.width = 161;
        r.height = 121;
        r.demuxer = "image2";
        break;
    default: // sound only
        r.hasAudio = true;
        r.sampleRate = 8000;
        r.channels = 1;
        r.audioDuration = 3;
        r.demuxer = "wav";
        break;
    }
    r.ok = true;
    r.duration = qMax(r.videoDuration, r.audioDuration);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    QStringList args;
    QByteArray rest = bytes(data + 1, size - 1);
    while (!rest.isEmpty())
        args << QString::fromUtf8(takeLine(rest));

    const LegacyCommandLine line = LegacyCommandLine::parse(args);
    if (line.mode != LegacyCommandLine::Mode::Convert)
        return 0;
    check(!line.input.isEmpty(), "convert line without an input");
    static const LibavMediaLibrary library; // FFmpeg's own answers, as the tool asks them
    const FfmpegCommand cmd =
        LegacyTranslator::translate(line, line.input, probed(data[0]), library);
    check(cmd.arguments.size() >= 4 && cmd.arguments.last() == "file:" + line.output,
          "ffmpeg writes another output");
    bool readsInput = false;
    for (qsizetype k = 0; k + 1 < cmd.arguments.size() && !readsInput; ++k)
        readsInput = cmd.arguments[k] == "-i" && cmd.arguments[k + 1] == "file:" + line.input;
    check(readsInput, "ffmpeg reads another input");
    return 0;
}
