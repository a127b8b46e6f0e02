#include "InfoMode.h"

#include "EncoderToolContract.h"
#include "MediaLibrary.h"

#include <QFileInfo>

#include <cstdio>

QByteArray InfoMode::reply(const MediaProbeResult& r)
{
    char line[128];
    const double seconds = r.ok && r.duration > 0 ? r.duration : 0.0;
    const int n =
        std::snprintf(line, sizeof line, EncoderToolContract::kInfoReply,
                      seconds < 2e9 ? int(seconds) : 2000000000, r.ok ? r.width : 0,
                      r.ok ? r.height : 0, r.ok && r.hasVideo ? 1 : 0, r.ok && r.hasAudio ? 1 : 0);
    return QByteArray(line, n) + '\n';
}

int InfoMode::run(const QString& path, const QString& toolFolder)
{
    QString loadError;
    const std::unique_ptr<MediaLibrary> library = MediaLibrary::load(toolFolder, loadError);
    const MediaProbeResult result = library ? library->probe(path) : MediaProbeResult{};
    const QByteArray line = reply(result);
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
    if (result.ok)
        return 0;
    if (!library) {
        std::fprintf(stderr, "%s\n", loadError.toLocal8Bit().constData());
        std::fflush(stderr);
        return 1;
    }

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

int InfoMode::capabilities(const QString& toolFolder)
{
    QString loadError;
    const std::unique_ptr<MediaLibrary> library = MediaLibrary::load(toolFolder, loadError);
    if (!library) {
        std::fprintf(stderr, "%s\n", loadError.toLocal8Bit().constData());
        return 1;
    }
    const QByteArray text = library->capabilities();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
    return 0;
}
