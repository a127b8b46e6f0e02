#include "InfoMode.h"

#include <QFileInfo>

#include <cstdio>

QByteArray InfoMode::reply(const MediaProbeResult& r)
{
    char line[128];
    const double seconds = r.ok && r.duration > 0 ? r.duration : 0.0;
    const int n =
        std::snprintf(line, sizeof line, "Duration:%d Width:%d Height:%d Video:%d Audio:%d\n",
                      seconds < 2e9 ? int(seconds) : 2000000000, r.ok ? r.width : 0,
                      r.ok ? r.height : 0, r.ok && r.hasVideo ? 1 : 0, r.ok && r.hasAudio ? 1 : 0);
    return QByteArray(line, n);
}

int InfoMode::run(const QString& path)
{
    const MediaProbeResult result = ProbeMediaFile(path);
    const QByteArray line = reply(result);
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
    if (result.ok)
        return 0;

    const QFileInfo info(path);
    const char* why = !info.exists()       ? "no such file"
                      : !info.isFile()     ? "not a file"
                      : info.size() == 0   ? "the file is empty"
                      : !info.isReadable() ? "permission denied"
                                           : "no audio or video found";
    std::fprintf(stderr, "encode: cannot read \"%s\": %s\n", path.toLocal8Bit().constData(), why);
    std::fflush(stderr);
    return 1;
}
