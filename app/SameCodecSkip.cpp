#include "SameCodecSkip.h"

#include "ConversionJob.h"
#include "MediaProbe.h"
#include "Profile.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

QByteArray optionValue(const Profile& profile, const char* name)
{
    const ProfileOption* option = profile.optionNamed(name);
    return option ? option->value.trimmed() : QByteArray();
}

bool on(const QByteArray& value)
{
    return value.compare("true", Qt::CaseInsensitive) == 0 || value == "1";
}

// The source stream of `type`'s codec, or empty without one.
QString sourceCodec(const MediaProbeResult& probe, MediaStream::Type type)
{
    for (const MediaStream& stream : probe.streams)
        if (stream.type == type && !stream.cover)
            return stream.codec;
    return QString();
}

// Why a stream at `rate` bits per second in `codec` needs no work against the profile's
// `limit` (kbit/s text, empty or "Auto" when the profile sets none); empty when it does.
QString judged(const QString& codec, int64_t rate, const QByteArray& limit)
{
    bool numeric = false;
    const int64_t most = limit.toLongLong(&numeric) * 1000;
    if (!numeric)
        return QStringLiteral("it is already %1").arg(codec);
    if (rate <= 0 || rate > most)
        return QString();
    return QStringLiteral("it is already %1 at %2 kbit/s, no more than the profile's %3")
        .arg(codec)
        .arg(rate / 1000)
        .arg(QString::fromLatin1(limit));
}

} // namespace

QString SameCodecSkip::decoderNameOf(const QString& profileCodec)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("libx264"), QStringLiteral("h264")},
        {QStringLiteral("x264"), QStringLiteral("h264")},
        {QStringLiteral("libx265"), QStringLiteral("hevc")},
        {QStringLiteral("h265"), QStringLiteral("hevc")},
        {QStringLiteral("libvpx-vp9"), QStringLiteral("vp9")},
        {QStringLiteral("libvpx"), QStringLiteral("vp8")},
        {QStringLiteral("libsvtav1"), QStringLiteral("av1")},
        {QStringLiteral("libaom-av1"), QStringLiteral("av1")},
        {QStringLiteral("librav1e"), QStringLiteral("av1")},
        {QStringLiteral("xvid"), QStringLiteral("mpeg4")},
        {QStringLiteral("libxvid"), QStringLiteral("mpeg4")},
        {QStringLiteral("flv"), QStringLiteral("flv1")},
        {QStringLiteral("libmp3lame"), QStringLiteral("mp3")},
        {QStringLiteral("libopus"), QStringLiteral("opus")},
        {QStringLiteral("libfaac"), QStringLiteral("aac")},
        {QStringLiteral("libvorbis"), QStringLiteral("vorbis")},
    };
    const QString lower = profileCodec.trimmed().toLower();
    return names.value(lower, lower);
}

bool SameCodecSkip::copies(const Profile& profile)
{
    const bool audioOnly =
        on(optionValue(profile, "vn")) || optionValue(profile, "vcodec").isEmpty();
    return optionValue(profile, audioOnly ? "acodec" : "vcodec")
               .compare("copy", Qt::CaseInsensitive) == 0;
}

QString SameCodecSkip::reason(const ConversionJob& job)
{
    if (!job.profile)
        return QString();
    const Profile& profile = *job.profile;
    const QByteArray video = optionValue(profile, "vcodec");
    const bool audioOnly = on(optionValue(profile, "vn")) || video.isEmpty();
    const QByteArray wanted = audioOnly ? optionValue(profile, "acodec") : video;
    if (wanted.isEmpty() || copies(profile) ||
        profile.format.compare("rm", Qt::CaseInsensitive) == 0)
        return QString();
    const MediaProbeResult probe = ProbeMediaFile(job.inputPath);
    if (!probe.ok || (audioOnly ? probe.hasVideo && !probe.hasAudio : !probe.hasVideo))
        return QString();
    const QString codec = decoderNameOf(QString::fromLatin1(wanted));
    if (sourceCodec(probe, audioOnly ? MediaStream::Audio : MediaStream::Video) != codec)
        return QString();
    // Where the container keeps no stream rate (AVI, Matroska), the whole file's rate less the
    // sound's stands for the video's: never less than the truth.
    int64_t videoRate = probe.videoBitRate;
    if (videoRate <= 0 && probe.duration > 0)
        videoRate = int64_t(QFileInfo(job.inputPath).size() * 8 / probe.duration) -
                    std::max<int64_t>(0, probe.audioBitRate);
    return audioOnly ? judged(codec, probe.audioBitRate, optionValue(profile, "ab"))
                     : judged(codec, videoRate, optionValue(profile, "b"));
}
