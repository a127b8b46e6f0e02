// encode: the converter's encoder tool. Speaks the old FFmpeg command-line language the
// converter writes and does the work with this platform's FFmpeg.

#include "ConvertMode.h"
#include "InfoMode.h"
#include "LegacyCommandLine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    const LegacyCommandLine line = LegacyCommandLine::parse(app.arguments().mid(1));
    switch (line.mode) {
    case LegacyCommandLine::Mode::Info:
        return InfoMode::run(line.input, QCoreApplication::applicationDirPath());
    case LegacyCommandLine::Mode::Convert:
        return ConvertMode::run(line, QCoreApplication::applicationDirPath());
    case LegacyCommandLine::Mode::Capabilities:
        return InfoMode::capabilities(QCoreApplication::applicationDirPath());
    case LegacyCommandLine::Mode::Invalid:
        break;
    }
    std::fprintf(stderr,
                 "encode: %s\nusage: encode ffmpeg-converter -info FILE\n"
                 "       encode ffmpeg-converter -i INPUT [-option value]... -y OUTPUT\n"
                 "       encode ffmpeg-converter -capabilities\n",
                 line.error.toLocal8Bit().constData());
    return 2;
}
