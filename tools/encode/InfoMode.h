#pragma once

#include "MediaProbe.h"

#include <QByteArray>
#include <QString>

// The information request: one reply line at the first byte of the output.
class InfoMode
{
public:
    // EncoderToolContract::kInfoReply and a line feed: whole seconds (truncated), the frame
    // size, 1/0 for a video and an audio stream; all zero for an unreadable file.
    static QByteArray reply(const MediaProbeResult& result);

    // Probes `path` with the FFmpeg module in `toolFolder`, writes the reply to standard output
    // (and a reason to standard error when the file yields nothing); returns the exit code:
    // 0 when the file was read.
    static int run(const QString& path, const QString& toolFolder);

    // Lists the encoders and formats of the FFmpeg module in `toolFolder` on standard output
    // (MediaLibrary::capabilities); 0, or 1 with a reason when the module cannot be loaded.
    static int capabilities(const QString& toolFolder);
};
