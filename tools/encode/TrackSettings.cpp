#include "TrackSettings.h"

#include "OptionValueCheck.h"

namespace {

const char* const kNames[] = {"audio_tracks", "subtitles", "metadata",
                              "crop",         "interlace", "loudness"};

void apply(TrackSettings& s, const QString& name, const QString& value)
{
    const QString v = value.trimmed().toLower();
    if (name == QLatin1String("audio_tracks")) {
        s.audio = v == QLatin1String("all")     ? TrackSettings::Audio::All
                  : v == QLatin1String("first") ? TrackSettings::Audio::First
                                                : TrackSettings::Audio::Languages;
        s.languages = s.audio == TrackSettings::Audio::Languages
                          ? v.split(QLatin1Char('+'), Qt::SkipEmptyParts)
                          : QStringList();
    } else if (name == QLatin1String("subtitles")) {
        using S = TrackSettings::Subtitles;
        s.subtitles = v == QLatin1String("none")     ? S::None
                      : v == QLatin1String("keep")   ? S::Keep
                      : v == QLatin1String("forced") ? S::Forced
                                                     : S::Burn;
        s.burnLanguage = v.section(QLatin1Char(':'), 1);
    } else if (name == QLatin1String("metadata")) {
        s.metadataRow = true;
        s.strip = v == QLatin1String("strip");
    } else if (name == QLatin1String("crop")) {
        s.crop = v == QLatin1String("none")   ? TrackSettings::Crop::None
                 : v == QLatin1String("auto") ? TrackSettings::Crop::Auto
                                              : TrackSettings::Crop::Manual;
        const QStringList sides = v.split(QLatin1Char(':'));
        for (int i = 0; i < 4 && s.crop == TrackSettings::Crop::Manual; ++i)
            s.cropPixels[i] = sides.value(i).toInt();
    } else if (name == QLatin1String("interlace")) {
        s.interlace = v == QLatin1String("on")     ? TrackSettings::Interlace::On
                      : v == QLatin1String("auto") ? TrackSettings::Interlace::Auto
                                                   : TrackSettings::Interlace::Off;
    } else if (name == QLatin1String("loudness")) {
        s.loudness = OptionValueCheck::loudnessTarget(v);
    }
}

} // namespace

bool TrackSettings::isTrackOption(const QString& name)
{
    for (const char* known : kNames)
        if (name == QLatin1String(known))
            return true;
    return false;
}

TrackSettings TrackSettings::read(const LegacyCommandLine& line)
{
    TrackSettings s;
    for (const LegacyOption& o : line.options) {
        if (!isTrackOption(o.name))
            continue;
        const QString why = OptionValueCheck::problem(o.name.toUtf8(), o.value);
        if (!why.isEmpty()) {
            if (s.refusal.isEmpty())
                s.refusal = QStringLiteral("encode: ") + why;
            continue;
        }
        apply(s, o.name, o.value);
    }
    return s;
}
