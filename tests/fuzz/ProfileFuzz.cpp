// A whole profile file, read as a job's profile, assembled into the tool's command line and
// translated by the tool. Input: the file's text.
// The option chain must hold every parsed option once in option order, the command line the
// tool receives must name the job's own input and output, and its translation must too.
#include "CEncoderCommandBuilder.h"
#include "FuzzSupport.h"
#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "LibavMediaLibrary.h"
#include "ProfileReader.h"

#include <set>

using namespace FuzzSupport;

namespace {

void checkChain(const Profile& profile)
{
    std::set<const ProfileOption*> seen;
    int previous = 0;
    for (const ProfileOption* o = profile.firstOption; o; o = o->next) {
        check(o >= profile.options.data() && o < profile.options.data() + profile.options.size(),
              "chain leaves the profile's options");
        check(seen.insert(o).second, "option chained twice");
        check(seen.size() == 1 || o->order >= previous, "chain out of option order");
        previous = o->order;
    }
    check(seen.size() == profile.options.size(), "option missing from the chain");
    check(profile.optionCount == int(profile.options.size()) &&
              profile.videoCount + profile.audioCount + profile.generalCount == profile.optionCount,
          "option counts disagree");
}

MediaProbeResult clip()
{
    MediaProbeResult r;
    r.ok = r.hasVideo = r.hasAudio = true;
    r.duration = r.videoDuration = r.audioDuration = 10;
    r.width = 320;
    r.height = 240;
    r.frameRate = 25;
    r.sampleRate = 44100;
    r.channels = 2;
    r.demuxer = "avi";
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryFile file;
    if (!writeTemporary(file, bytes(data, size)))
        return 0;
    Profile profile;
    ProfileReader::Read(file.fileName(), "Fuzz", profile);
    checkChain(profile);

    const QString input = QStringLiteral("/media/in put.avi");
    const QString output = QStringLiteral("/media/-out put.mp4");
    const EncoderCommand command =
        CEncoderCommandBuilder::conversion(QStringLiteral("/opt/tovel/"), input, &profile, output);
    CEncoderCommandBuilder::eventText(command);
    const LegacyCommandLine line = LegacyCommandLine::parse(command.arguments);
    if (line.mode != LegacyCommandLine::Mode::Convert)
        return 0;
    check(line.input == input && line.output == output, "tool reads another input or output");
    static const LibavMediaLibrary library; // FFmpeg's own answers, as the tool asks them
    const FfmpegCommand ffmpeg = LegacyTranslator::translate(line, input, clip(), library);
    check(!ffmpeg.arguments.isEmpty() && ffmpeg.arguments.last() == "file:" + output,
          "translation writes another output");
    return 0;
}
