#include "TrackFilters.h"

#include <algorithm>

namespace {

// `path` as a value inside a filter graph: escaped for the option, then for the graph.
QString filterPath(const QString& path)
{
    QString option;
    for (const QChar c : path) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\'') || c == QLatin1Char(':'))
            option += QLatin1Char('\\');
        option += c;
    }
    QString graph;
    for (const QChar c : option) {
        if (QStringLiteral("\\'[],;").contains(c))
            graph += QLatin1Char('\\');
        graph += c;
    }
    return graph;
}

} // namespace

QString TrackFilters::loudness(const SourceFindings::Loudness& m, double target, int sampleRate)
{
    // Linear gain needs room for the track's own range; the limiter takes over where the peak
    // would pass -1 dBTP.
    const double range = std::clamp(m.range.toDouble() + 1, 11.0, 20.0);
    // The filter works at 192 kHz; the encoder gets the track's own rate back.
    return QStringLiteral("loudnorm=I=%1:TP=-1:LRA=%2:measured_I=%3:measured_TP=%4:"
                          "measured_LRA=%5:measured_thresh=%6:offset=%7:linear=true,aresample=%8")
        .arg(target)
        .arg(range)
        .arg(m.integrated, m.truePeak, m.range, m.threshold, m.offset)
        .arg(sampleRate > 0 ? sampleRate : 48000);
}

QStringList TrackFilters::hdrParameters(const SourceFindings::Hdr& hdr, bool x265)
{
    const double* p = hdr.primaries;
    // x265 counts chromaticity in 1/50000 and luminance in 1/10000 cd/m2; SVT-AV1 takes both
    // as they are.
    const auto xy = [&](const char* name, int i) {
        const QString form = QStringLiteral("%1(%2,%3)").arg(QLatin1String(name));
        return x265 ? form.arg(qRound(p[i] * 50000)).arg(qRound(p[i + 1] * 50000))
                    : form.arg(p[i], 0, 'f', 4).arg(p[i + 1], 0, 'f', 4);
    };
    QStringList params;
    if (hdr.mastering) {
        const QString light =
            x265 ? QStringLiteral("L(%1,%2)")
                       .arg(qRound64(hdr.maxLuminance * 10000))
                       .arg(qRound64(hdr.minLuminance * 10000))
                 : QStringLiteral("L(%1,%2)").arg(hdr.maxLuminance).arg(hdr.minLuminance);
        params << (x265 ? QStringLiteral("master-display=")
                        : QStringLiteral("mastering-display=")) +
                      xy("G", 2) + xy("B", 4) + xy("R", 0) + xy("WP", 6) + light;
    }
    if (hdr.maxCll > 0)
        params << (x265 ? QStringLiteral("max-cll=%1,%2") : QStringLiteral("content-light=%1,%2"))
                      .arg(hdr.maxCll)
                      .arg(hdr.maxFall);
    return params;
}

QString TrackFilters::burnIn(const QString& path, int subtitle)
{
    return QStringLiteral("subtitles=filename=%1:si=%2").arg(filterPath(path)).arg(subtitle);
}

void TrackFilters::emitHdr(const SourceFindings::Hdr& hdr, const QString& encoder,
                           QStringList& post, QStringList& notes)
{
    if (!hdr.mastering && hdr.maxCll == 0)
        return;
    const bool x265 = encoder == QLatin1String("libx265");
    const QStringList params = hdrParameters(hdr, x265);
    const qsizetype at = post.indexOf(QStringLiteral("-x265-params"));
    if (x265 && at >= 0 && at + 1 < post.size())
        post[at + 1] += QStringLiteral(":hdr10=1:") + params.join(QLatin1Char(':'));
    else if (encoder == QLatin1String("libsvtav1"))
        post << QStringLiteral("-svtav1-params") << params.join(QLatin1Char(':'));
    else
        notes << QStringLiteral("encode: the source's HDR10 mastering display and light levels "
                                "are not kept: the %1 encoder does not write them")
                     .arg(encoder.isEmpty() ? QStringLiteral("format's") : encoder);
}

QStringList TrackFilters::soundOptions(const QList<int>& audio, const MediaProbeResult& input,
                                       const SourceFindings& found, double target,
                                       const QString& before, QStringList& notes)
{
    QStringList options;
    for (int k = 0; k < audio.size(); ++k) {
        QStringList chain;
        if (!before.isEmpty())
            chain << before;
        const SourceFindings::Loudness* m =
            k < found.loudness.size() ? &found.loudness[k] : nullptr;
        if (m && m->ok)
            chain << loudness(*m, target,
                              audio[k] < input.tags.size() ? input.tags[audio[k]].sampleRate : 0);
        else if (found.analysed)
            notes << QStringLiteral("encode: sound track %1 could not be measured; its loudness "
                                    "is left as it is")
                         .arg(audio[k]);
        if (!chain.isEmpty())
            options << QStringLiteral("-filter:a:%1").arg(k) << chain.join(QLatin1Char(','));
    }
    return options;
}

QString TrackFilters::cropProblem(const int sides[4], int width, int height)
{
    if (sides[0] + sides[1] < height && sides[2] + sides[3] < width)
        return QString();
    return QStringLiteral("encode: the crop %1:%2:%3:%4 is larger than the picture (%5x%6)")
        .arg(sides[0])
        .arg(sides[1])
        .arg(sides[2])
        .arg(sides[3])
        .arg(width)
        .arg(height);
}
