// encode: the converter's encoder tool. Speaks the old FFmpeg command-line language the
// converter writes and does the work with this platform's FFmpeg.

#include "ConvertMode.h"
#include "InfoMode.h"
#include "LegacyCommandLine.h"

#include <QCoreApplication>

extern "C" {
#include <libavutil/log.h>
}

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // libav's own messages would land before the reply or repeat what ffmpeg says itself.
    av_log_set_level(AV_LOG_QUIET);

    const LegacyCommandLine line = LegacyCommandLine::parse(app.arguments().mid(1));
    switch (line.mode) {
    case LegacyCommandLine::Mode::Info:
        return InfoMode::run(line.input);
    case LegacyCommandLine::Mode::Convert:
        return ConvertMode::run(line, QCoreApplication::applicationDirPath());
    case LegacyCommandLine::Mode::Invalid:
        break;
    }
    std::fprintf(stderr,
                 "encode: %s\nusage: encode ffmpeg-converter -info FILE\n"
                 "       encode ffmpeg-converter -i INPUT [-option value]... -y OUTPUT\n",
                 line.error.toLocal8Bit().constData());
    return 2;
}
