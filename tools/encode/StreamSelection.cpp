#include "StreamSelection.h"

#include "FfmpegCatalogue.h"

namespace {

// Containers that hold one sound track only.
bool oneSoundTrack(const QString& muxer)
{
    static const QStringList kOne = {QStringLiteral("flac"), QStringLiteral("mp3"),
                                     QStringLiteral("wav"),  QStringLiteral("adts"),
                                     QStringLiteral("ac3"),  QStringLiteral("opus")};
    return kOne.contains(muxer);
}

MediaStreamTags tagsOf(const MediaProbeResult& input, int i)
{
    return i < input.tags.size() ? input.tags[i] : MediaStreamTags();
}

QList<int> streamsOf(const MediaProbeResult& input, MediaStream::Type type)
{
    QList<int> found;
    for (int i = 0; i < input.streams.size(); ++i)
        if (input.streams[i].type == type && !input.streams[i].cover)
            found << i;
    return found;
}

// Why subtitle stream `i` cannot be read, for a note or a refusal.
QString undecodable(const MediaProbeResult& input, int i)
{
    const QString codec = input.streams[i].codec;
    return QStringLiteral("subtitle track %1 (%2) cannot be decoded by this FFmpeg")
        .arg(i)
        .arg(codec.isEmpty() || codec == QLatin1String("none") ? QStringLiteral("an unknown codec")
                                                               : QStringLiteral("codec ") + codec);
}

} // namespace

StreamSelection StreamSelection::make(const MediaProbeResult& input, const TrackSettings& settings,
                                      const Request& request, const FfmpegCatalogue& ffmpeg)
{
    StreamSelection s;
    const QList<int> video = streamsOf(input, MediaStream::Video);
    int cover = -1;
    for (int i = 0; i < input.streams.size() && cover < 0; ++i)
        cover = input.streams[i].cover ? i : -1;
    if (!request.noVideo && !video.isEmpty())
        s.videoMap = QStringLiteral("0:%1").arg(video.first());
    else if (request.coverAsClip && cover >= 0)
        s.videoMap = QStringLiteral("0:%1").arg(cover);
    if (!request.noAudio)
        s.chooseAudio(input, settings, request);
    for (int i : std::as_const(s.audio))
        s.arguments << QStringLiteral("-map") << QStringLiteral("0:%1").arg(i);
    s.codecForAudio(input, request, ffmpeg);
    s.chooseSubtitles(input, settings, request, ffmpeg);
    if (settings.strip) {
        s.arguments << QStringLiteral("-map_metadata") << QStringLiteral("-1")
                    << QStringLiteral("-map_metadata:s") << QStringLiteral("-1")
                    << QStringLiteral("-map_chapters") << QStringLiteral("-1");
    } else {
        // Named, the copy keeps the creation date, which ffmpeg's own copy leaves behind.
        s.arguments << QStringLiteral("-map_metadata") << QStringLiteral("0");
        s.keepTitles(input, request.muxer);
    }
    return s;
}

// MP4 keeps a track's name as its handler's name, which players show.
void StreamSelection::keepTitles(const MediaProbeResult& input, const QString& muxer)
{
    static const QStringList kMp4 = {QStringLiteral("mp4"), QStringLiteral("mov"),
                                     QStringLiteral("ipod"), QStringLiteral("3gp"),
                                     QStringLiteral("3g2")};
    if (!kMp4.contains(muxer))
        return;
    const auto name = [&](const QList<int>& kept, char kind) {
        for (int k = 0; k < kept.size(); ++k)
            if (const QString title = tagsOf(input, kept[k]).title; !title.isEmpty())
                arguments << QStringLiteral("-metadata:s:%1:%2").arg(QLatin1Char(kind)).arg(k)
                          << QStringLiteral("handler_name=") + title;
    };
    name(audio, 'a');
    name(subtitles, 's');
}

void StreamSelection::chooseAudio(const MediaProbeResult& input, const TrackSettings& settings,
                                  const Request& request)
{
    const QList<int> all = streamsOf(input, MediaStream::Audio);
    if (all.isEmpty())
        return;
    if (settings.audio == TrackSettings::Audio::All) {
        audio = all;
    } else if (settings.audio == TrackSettings::Audio::Languages) {
        for (const QString& language : settings.languages) {
            bool found = false;
            for (int i : all) {
                if (tagsOf(input, i).language == language && !audio.contains(i)) {
                    audio << i;
                    found = true;
                }
            }
            if (!found)
                notes << QStringLiteral("encode: no sound track in %1 in the input; skipped")
                             .arg(language);
        }
        if (audio.isEmpty())
            notes << QStringLiteral("encode: no sound track matches \"%1\"; the first is kept")
                         .arg(settings.languages.join(QLatin1Char('+')));
    }
    if (audio.isEmpty())
        audio << all.first();
    if (audio.size() > 1 && oneSoundTrack(request.muxer)) {
        notes << QStringLiteral("encode: %1 holds one sound track; only the first chosen is kept")
                     .arg(request.muxer);
        audio = audio.mid(0, 1);
    }
}

// A copied sound track the container cannot hold is encoded in its usual codec instead.
void StreamSelection::codecForAudio(const MediaProbeResult& input, const Request& request,
                                    const FfmpegCatalogue& ffmpeg)
{
    if (!request.copyAudio)
        return;
    for (int k = 0; k < audio.size(); ++k) {
        const MediaStream& st = input.streams[audio[k]];
        if (ffmpeg.holds(request.muxer, st.codec) != 0)
            continue;
        const QString usual = ffmpeg.usualEncoder(request.muxer, MediaStream::Audio);
        notes << QStringLiteral("encode: sound track %1 (%2) re-encoded as %3: %4 cannot hold "
                                "it as it is")
                     .arg(audio[k])
                     .arg(st.codec, usual, request.muxer);
        arguments << QStringLiteral("-c:a:%1").arg(k) << usual;
    }
}

void StreamSelection::chooseSubtitles(const MediaProbeResult& input, const TrackSettings& settings,
                                      const Request& request, const FfmpegCatalogue& ffmpeg)
{
    using S = TrackSettings::Subtitles;
    const QList<int> subs = streamsOf(input, MediaStream::Subtitle);
    if (settings.subtitles == S::Burn) {
        for (int k = 0; k < subs.size() && burn < 0; ++k) {
            const MediaStream& st = input.streams[subs[k]];
            if (settings.burnLanguage.isEmpty() ||
                tagsOf(input, subs[k]).language == settings.burnLanguage) {
                burn = subs[k];
                burnSubtitle = k;
                burnText = st.textSubtitle;
            }
        }
        // Burned in, it would change every picture: without it the output is not what was
        // asked, so the conversion is refused rather than made without the subtitle.
        if (burn >= 0 && !input.streams[burn].decodable && !request.noVideo)
            refusal = QStringLiteral("encode: %1; it cannot be burned in. Choose another "
                                     "subtitle language, or \"keep\" or \"none\"")
                          .arg(undecodable(input, burn));
        if (burn < 0 && !request.noVideo)
            notes << QStringLiteral("encode: no subtitle%1 to burn in")
                         .arg(settings.burnLanguage.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" in ") + settings.burnLanguage);
        return;
    }
    if (settings.subtitles != S::Keep && settings.subtitles != S::Forced)
        return;
    const bool matroska = request.muxer == QLatin1String("matroska");
    const QString usual = ffmpeg.usualEncoder(request.muxer, MediaStream::Subtitle);
    int out = 0;
    for (int i : subs) {
        const MediaStream& st = input.streams[i];
        if (settings.subtitles == S::Forced && !tagsOf(input, i).forced)
            continue;
        const int holds = ffmpeg.holds(request.muxer, st.codec);
        QString codec;
        if (holds == 1 || (matroska && holds != 0))
            codec = QStringLiteral("copy");
        else if (st.textSubtitle && !usual.isEmpty())
            codec = usual;
        // A copy needs no decoder, but a stream of no known codec cannot even be copied.
        if (!st.decodable &&
            (codec != QLatin1String("copy") || st.codec == QLatin1String("none"))) {
            notes << QStringLiteral("encode: %1; it is left out").arg(undecodable(input, i));
            continue;
        }
        if (codec.isEmpty()) {
            notes << QStringLiteral("encode: stream %1 (subtitle %2) left out: %3 cannot hold %4")
                         .arg(i)
                         .arg(st.codec, request.muxer,
                              st.textSubtitle ? QStringLiteral("it")
                                              : QStringLiteral("picture subtitles"));
            continue;
        }
        arguments << QStringLiteral("-map") << QStringLiteral("0:%1").arg(i)
                  << QStringLiteral("-c:s:%1").arg(out++) << codec;
        subtitles << i;
    }
    if (settings.subtitles == S::Forced && out == 0 && !subs.isEmpty())
        notes << QStringLiteral("encode: no subtitle is marked forced; none kept");
}
