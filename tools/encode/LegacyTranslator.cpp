#include "LegacyTranslator.h"

#include "CodecNames.h"
#include "EncoderToolContract.h"
#include "FfmpegCatalogue.h"
#include "LegacyOptionRules.h"
#include "PictureShape.h"
#include "QualityOptions.h"
#include "StreamCopyPlan.h"
#include "TargetNorm.h"
#include "TargetRequest.h"
#include "TrackFilters.h"

#include <algorithm>

namespace {

bool is(const LegacyOption& o, const char* name)
{
    return o.name == QLatin1String(name);
}

// "800kk" comes from a profile value that already held its unit.
QString bitRate(QString value)
{
    value = value.trimmed();
    while (value.endsWith(QLatin1String("kk"), Qt::CaseInsensitive))
        value.chop(1);
    return value;
}

QString fileUrl(const QString& path)
{
    // "file:" keeps a leading dash, a colon or "pipe:" in a name from meaning anything else.
    return QStringLiteral("file:") + path;
}

} // namespace

LegacyTranslator::LegacyTranslator(const LegacyCommandLine& line, const MediaProbeResult& input,
                                   const FfmpegCatalogue& ffmpeg, const SourceFindings& found)
    : m_line(line), m_input(input), m_ffmpeg(ffmpeg), m_found(found)
{
}

FfmpegCommand LegacyTranslator::translate(const LegacyCommandLine& line, const QString& inputPath,
                                          const MediaProbeResult& input,
                                          const FfmpegCatalogue& ffmpeg,
                                          const SourceFindings& found)
{
    LegacyTranslator t(line, input, ffmpeg, found);
    t.collect();
    t.applyTrackPicture();
    t.selectStreams(inputPath);
    t.decideShape();
    if (!t.m_target.isEmpty())
        t.out(QStringLiteral("-target"),
              TargetNorm::prefixedTarget(t.m_target, t.m_rate, t.m_tvstd, input.frameRate));
    for (const LegacyOption& option : line.options)
        t.emitOption(option);
    t.emitQuality();
    t.decideTarget();
    t.emitHdr();
    if (!t.m_shapeAspect.isEmpty())
        t.out(QStringLiteral("-aspect"), t.m_shapeAspect);

    const StreamSelection& selection = t.m_selection;
    const bool pictureBurn = selection.burn >= 0 && !selection.burnText;
    if (!t.m_videoCopy) {
        const QString vf = t.m_filters.video();
        if (pictureBurn && !selection.videoMap.isEmpty())
            t.out(QStringLiteral("-filter_complex"),
                  QStringLiteral("[%1][0:%2]overlay=eof_action=pass%3[v]")
                      .arg(selection.videoMap)
                      .arg(selection.burn)
                      .arg(vf.isEmpty() ? QString() : QLatin1Char(',') + vf));
        else if (!vf.isEmpty())
            t.out(QStringLiteral("-vf"), vf);
        if (!t.m_syncMode.isEmpty())
            t.out(QStringLiteral("-fps_mode"), t.m_syncMode);
    }
    if (t.m_selecting && !selection.videoMap.isEmpty())
        t.out(QStringLiteral("-map"),
              pictureBurn && !t.m_videoCopy ? QStringLiteral("[v]") : selection.videoMap);
    t.m_post << selection.arguments;
    t.m_cmd.audioFilters = t.m_filters.audio();
    if (t.m_cmd.tracks.loudness != 0 && t.m_selecting)
        t.emitSoundFilters();
    else if (!t.m_audioCopy && !t.m_filters.audio().isEmpty())
        t.out(QStringLiteral("-af"), t.m_filters.audio());
    if (input.isStillPicture && !t.m_hasDuration)
        t.out(QStringLiteral("-t"), QString::number(EncoderToolContract::kStillPictureSeconds));
    t.emitFormatDefaults();
    t.emitCopyPlan();
    t.emitCover();

    FfmpegCommand& cmd = t.m_cmd;
    cmd.expected = t.expectation();
    cmd.origin = t.origin(cmd.expected);
    cmd.arguments << QStringLiteral("-y") << t.m_pre;
    // The image reader would take "%d" in a picture's name for a numbered sequence.
    if (input.demuxer == QLatin1String("image2"))
        cmd.arguments << QStringLiteral("-f") << QStringLiteral("image2")
                      << QStringLiteral("-pattern_type") << QStringLiteral("none");
    cmd.arguments << QStringLiteral("-i") << fileUrl(inputPath) << t.m_post << fileUrl(line.output);
    return cmd;
}

// First look at the whole line: what later options depend on, and the filter options.
void LegacyTranslator::collect()
{
    using S = FilterChainBuilder::Side;
    static const struct
    {
        const char* name;
        bool pad;
        S side;
    } kBands[] = {
        {"croptop", false, S::Top},   {"cropbottom", false, S::Bottom},
        {"cropleft", false, S::Left}, {"cropright", false, S::Right},
        {"padtop", true, S::Top},     {"padbottom", true, S::Bottom},
        {"padleft", true, S::Left},   {"padright", true, S::Right},
    };
    if (m_input.isStillPicture)
        m_filters.setLoopPicture(kStillRate);
    for (const LegacyOption& o : m_line.options) {
        for (const auto& band : kBands) {
            if (!is(o, band.name))
                continue;
            const bool ok = band.pad ? m_filters.setPad(band.side, o.value)
                                     : m_filters.setCrop(band.side, o.value);
            if (!ok)
                note(LegacyOptionRules::badValue(o));
        }
        if (is(o, "padcolor") && !m_filters.setPadColor(o.value))
            note(LegacyOptionRules::badValue(o));
        else if (is(o, "deinterlace"))
            m_filters.setDeinterlace();
        else if (is(o, "vol") && !m_filters.setVolume(o.value))
            note(LegacyOptionRules::badValue(o));
        else if (is(o, "async") && !m_filters.setAudioSync(o.value))
            note(LegacyOptionRules::badValue(o));
        else if (is(o, "target"))
            m_target = o.value;
        else if (is(o, "r"))
            m_rate = o.value;
        else if (is(o, "tvstd"))
            m_tvstd = o.value;
        else if (is(o, "f"))
            m_format = o.value;
        else if (is(o, "t"))
            m_hasDuration = true;
        else if (is(o, "ar"))
            m_hasSampleRate = true;
        else if (is(o, "ac"))
            m_hasChannels = true;
        else if (is(o, "vframes") || is(o, "aframes") || is(o, "dframes") || is(o, "fs") ||
                 is(o, "shortest"))
            m_limited = true;
        else if (is(o, "map"))
            m_mapped = true;
        else if (is(o, "vn"))
            m_noVideo = true;
        else if (is(o, "an"))
            m_noAudio = true;
        else if (is(o, "aspect"))
            m_aspect = o.value;
        else if (is(o, "crf"))
            m_crf = o.value;
        else if (is(o, "preset"))
            m_preset = o.value;
        else if (is(o, "target_ssim"))
            m_targetSsim = o.value.trimmed();
        else if (is(o, "target_mb"))
            m_targetMb = o.value.trimmed();
        else if (is(o, "b"))
            m_hasBitRate = !bitRate(o.value).isEmpty();
        else if (is(o, "vcodec")) {
            m_askedVideoEncoder = CodecNames::video(o.value, m_ffmpeg).encoder;
            m_videoCopy = m_askedVideoEncoder == QLatin1String("copy");
        } else if (is(o, "acodec"))
            m_audioCopy = CodecNames::audio(o.value, m_ffmpeg).encoder == QLatin1String("copy");
    }
    // Music with its album cover and no picture of its own: the cover becomes a still clip as
    // long as the sound, where the output holds moving pictures.
    m_copyPlan = (m_videoCopy || m_audioCopy) && !m_input.streams.isEmpty() && !m_mapped;
    m_coverAsClip = m_input.hasCoverPicture && !m_input.hasVideo && m_input.hasAudio &&
                    !m_noVideo && !m_videoCopy && !m_mapped &&
                    m_ffmpeg.takesMovingVideo(outputFormat());
    if (m_coverAsClip)
        m_filters.setLoopPicture(kStillRate);
    m_cmd.tracks = TrackSettings::read(m_line);
    if (!m_cmd.tracks.refusal.isEmpty())
        m_cmd.refusal = m_cmd.tracks.refusal;
}

// The crop and deinterlacing the rows ask for, or that a look at the source found.
void LegacyTranslator::applyTrackPicture()
{
    const TrackSettings& t = m_cmd.tracks;
    if (m_noVideo || m_videoCopy || m_input.isStillPicture)
        return;
    const bool oldSwitch = std::any_of(m_line.options.begin(), m_line.options.end(),
                                       [](const LegacyOption& o) { return is(o, "deinterlace"); });
    if (!oldSwitch && (t.interlace == TrackSettings::Interlace::On ||
                       (t.interlace == TrackSettings::Interlace::Auto && m_found.interlaced)))
        m_filters.setDeinterlace("bwdif");
    const int* sides = t.crop == TrackSettings::Crop::Manual ? t.cropPixels
                       : t.crop == TrackSettings::Crop::Auto ? m_found.crop
                                                             : nullptr;
    if (!sides || (sides[0] | sides[1] | sides[2] | sides[3]) == 0)
        return;
    if (m_input.ok && m_input.hasVideo) {
        m_cmd.refusal = TrackFilters::cropProblem(sides, m_input.width, m_input.height);
        if (!m_cmd.refusal.isEmpty())
            return;
    }
    using S = FilterChainBuilder::Side;
    for (const S side : {S::Top, S::Bottom, S::Left, S::Right})
        m_filters.setCrop(side, QString::number(sides[side]));
}

// The streams the track rows keep, and a subtitle drawn onto the picture.
void LegacyTranslator::selectStreams(const QString& inputPath)
{
    const TrackSettings& t = m_cmd.tracks;
    if ((!t.mapsStreams() && t.loudness == 0) || m_copyPlan || m_mapped || !m_input.ok ||
        m_input.streams.isEmpty() || m_input.isStillPicture)
        return;
    m_selecting = true;
    StreamSelection::Request request;
    request.muxer = outputFormat();
    request.noVideo = m_noVideo;
    request.noAudio = m_noAudio;
    request.copyAudio = m_audioCopy;
    request.coverAsClip = m_coverAsClip;
    m_selection = StreamSelection::make(m_input, t, request, m_ffmpeg);
    m_cmd.notes << m_selection.notes;
    if (!m_selection.refusal.isEmpty() && m_cmd.refusal.isEmpty())
        m_cmd.refusal = m_selection.refusal;
    m_cmd.keptAudio = m_selection.audio;
    if (m_selection.burn >= 0 && m_videoCopy) {
        note(QStringLiteral("encode: a copied picture cannot have subtitles burned in"));
        m_selection.burn = -1;
    }
    if (m_selection.burn >= 0 && m_selection.burnText)
        m_filters.setBurnIn(TrackFilters::burnIn(inputPath, m_selection.burnSubtitle));
}

// HDR10's mastering display and light levels, which the encoders do not take from the frames.
void LegacyTranslator::emitHdr()
{
    const TrackSettings& t = m_cmd.tracks;
    m_cmd.lookForHdr = t.metadataRow && !t.strip && !m_videoCopy && !m_noVideo;
    if (m_cmd.lookForHdr)
        TrackFilters::emitHdr(m_found.hdr, m_videoCodec, m_post, m_cmd.notes);
}

// Each kept sound track evened out to the loudness asked, from its first-pass figures.
void LegacyTranslator::emitSoundFilters()
{
    if (m_audioCopy) {
        note(QStringLiteral("encode: copied sound keeps its loudness; choose an audio codec to "
                            "even it out"));
        return;
    }
    m_post << TrackFilters::soundOptions(m_selection.audio, m_input, m_found, m_cmd.tracks.loudness,
                                         m_filters.audio(), m_cmd.notes);
}

void LegacyTranslator::emitOption(const LegacyOption& o)
{
    if (TrackSettings::isTrackOption(o.name))
        return; // the stream choice and the filters took them
    if (is(o, "aspect") && !m_shapeAspect.isEmpty())
        return; // written after the options
    if (emitRenamed(o) || emitIgnored(o))
        return;
    if (is(o, "crf") || is(o, "preset") || is(o, "target_ssim") || is(o, "target_mb"))
        return; // written once the whole line is known: they depend on the encoder
    if (is(o, "vcodec") || is(o, "acodec"))
        return emitCodec(o, is(o, "vcodec"));
    if (is(o, "map"))
        return emitMap(o.value);
    if (is(o, "me"))
        return emitMotionEstimation(o.value);
    if (emitInputTiming(o) || emitPicture(o) || emitMetadata(o) || emitOutputMode(o))
        return;
    // The filter chains, the target and the fixed part of the line take these.
    if (!LegacyOptionRules::isFilterOption(o.name) && !is(o, "target") && !is(o, "y"))
        emitUnknown(o);
}

// Options of the input side: where reading starts and how fast.
bool LegacyTranslator::emitInputTiming(const LegacyOption& o)
{
    if (is(o, "ss")) {
        // Seeking the input is fast and exact; a looped picture has nothing to seek, and a
        // cover, which comes before all else, would be cut away by the seek.
        (m_input.isStillPicture || m_coverAsClip ? m_post : m_pre)
            << QStringLiteral("-ss") << o.value;
    } else if (is(o, "itsoffset")) {
        m_pre << QStringLiteral("-itsoffset") << o.value;
    } else if (is(o, "re")) {
        m_pre << QStringLiteral("-re");
    } else {
        return false;
    }
    return true;
}

// Frame rate, size, bit rates and key frames.
bool LegacyTranslator::emitPicture(const LegacyOption& o)
{
    if (is(o, "r")) {
        out(QStringLiteral("-r"), TargetNorm::modernRate(o.value));
    } else if (is(o, "s")) {
        if (!m_filters.sizeInChain())
            out(QStringLiteral("-s"), o.value.trimmed());
        else if (int w = 0, h = 0; m_ffmpeg.parseFrameSize(o.value, w, h))
            m_filters.setSize(w, h);
        else
            note(LegacyOptionRules::badValue(o));
    } else if (is(o, "b") || is(o, "ab")) {
        out(is(o, "b") ? QStringLiteral("-b:v") : QStringLiteral("-b:a"), bitRate(o.value));
    } else if (is(o, "intra")) {
        out(QStringLiteral("-g"), QStringLiteral("1"));
    } else {
        return false;
    }
    return true;
}

// Titles, languages and where the metadata comes from.
bool LegacyTranslator::emitMetadata(const LegacyOption& o)
{
    if (is(o, "title") || is(o, "author") || is(o, "copyright") || is(o, "comment") ||
        is(o, "album")) {
        out(QStringLiteral("-metadata"), o.name + QLatin1Char('=') + o.value);
        // Most containers of today keep the author under "artist".
        if (is(o, "author"))
            out(QStringLiteral("-metadata"), QStringLiteral("artist=") + o.value);
    } else if (is(o, "timestamp")) {
        out(QStringLiteral("-metadata"), QStringLiteral("creation_time=") + o.value);
    } else if (is(o, "alang") || is(o, "slang")) {
        out(is(o, "alang") ? QStringLiteral("-metadata:s:a:0") : QStringLiteral("-metadata:s:s:0"),
            QStringLiteral("language=") + o.value);
    } else if (is(o, "map_meta_data")) {
        const QString from = o.value.section(QLatin1Char(':'), -1).trimmed();
        if (from == QLatin1String("0") || from == QLatin1String("-1"))
            out(QStringLiteral("-map_metadata"), from);
        else
            note(LegacyOptionRules::ignored(o, QStringLiteral("there is only one input file")));
    } else {
        return false;
    }
    return true;
}

// The output's format, frame timing, headers and looping.
bool LegacyTranslator::emitOutputMode(const LegacyOption& o)
{
    if (is(o, "f")) {
        if (m_ffmpeg.hasMuxer(o.value))
            out(QStringLiteral("-f"), o.value);
        else
            note(LegacyOptionRules::ignored(o, QStringLiteral("unknown output format")));
    } else if (is(o, "vsync")) {
        bool ok = false;
        const int v = o.value.trimmed().toInt(&ok);
        if (!ok)
            note(LegacyOptionRules::badValue(o));
        else
            m_syncMode = v == 0   ? QStringLiteral("passthrough")
                         : v < 0  ? QStringLiteral("auto")
                         : v == 2 ? QStringLiteral("vfr")
                                  : QStringLiteral("cfr");
    } else if (is(o, "vglobal")) {
        const QString v = o.value.trimmed();
        if (v == QLatin1String("1") || v == QLatin1String("3"))
            out(QStringLiteral("-flags:v"), QStringLiteral("+global_header"));
        else if (v != QLatin1String("2"))
            note(LegacyOptionRules::badValue(o));
    } else if (is(o, "loop_output")) {
        if (outputFormat() == QLatin1String("gif"))
            out(QStringLiteral("-loop"), o.value.trimmed());
        else
            note(LegacyOptionRules::ignored(o, QStringLiteral("only GIF output loops")));
    } else if (is(o, "loop_input")) {
        if (!m_input.isStillPicture)
            note(LegacyOptionRules::ignored(o, QStringLiteral("only a still picture loops")));
    } else {
        return false;
    }
    return true;
}

// Options whose meaning carries over under a new name (or the same one).
bool LegacyTranslator::emitRenamed(const LegacyOption& o)
{
    const LegacyOptionRules::Rename* rule = LegacyOptionRules::rename(o.name);
    if (!rule)
        return false;
    if (rule->modernValue)
        out(QLatin1String(rule->modern), QLatin1String(rule->modernValue));
    else if (LegacyCommandLine::takesValue(o.name))
        out(QLatin1String(rule->modern), LegacyOptionRules::modernValue(o));
    else
        out(QLatin1String(rule->modern));
    return true;
}

bool LegacyTranslator::emitIgnored(const LegacyOption& o)
{
    if (o.name == QLatin1String("tvstd") && !m_target.isEmpty())
        return true; // it chose the target's norm
    const QString line = LegacyOptionRules::refusal(o);
    if (line.isEmpty())
        return false;
    note(line);
    return true;
}

void LegacyTranslator::emitCodec(const LegacyOption& o, bool video)
{
    const CodecNames::Choice choice =
        video ? CodecNames::video(o.value, m_ffmpeg) : CodecNames::audio(o.value, m_ffmpeg);
    if (!choice.note.isEmpty())
        note(QStringLiteral("encode: ") + choice.note);
    (video ? m_videoCodec : m_audioCodec) = choice.encoder;
    if (!video)
        m_impliedSampleRate = choice.sampleRate;
    if (!choice.encoder.isEmpty() && !m_copyPlan)
        out(video ? QStringLiteral("-c:v") : QStringLiteral("-c:a"), choice.encoder);
    // x265 would otherwise write its settings into the log at every start.
    if (choice.encoder == QLatin1String("libx265"))
        out(QStringLiteral("-x265-params"), QStringLiteral("log-level=error"));
}

// A disc's fixed frame would squash a picture of another shape.
void LegacyTranslator::decideShape()
{
    if (m_target.isEmpty() || !m_input.ok || !m_input.hasVideo || m_input.displayAspect <= 0 ||
        m_videoCopy || m_noVideo)
        return;
    const PictureShape::Fit fit = PictureShape::forTarget(
        TargetNorm::prefixedTarget(m_target, m_rate, m_tvstd, m_input.frameRate),
        m_input.displayAspect, m_aspect);
    if (!fit.applies)
        return;
    m_shapeAspect = fit.aspect;
    if (fit.pictureWidth != fit.frameWidth || fit.pictureHeight != fit.frameHeight)
        m_filters.setFit(fit.pictureWidth, fit.pictureHeight, fit.frameWidth, fit.frameHeight);
    note(fit.note);
}

void LegacyTranslator::emitCopyPlan()
{
    if (!m_copyPlan)
        return;
    StreamCopyPlan::Request request;
    request.muxer = outputFormat();
    request.copyVideo = m_videoCopy;
    request.copyAudio = m_audioCopy;
    request.videoEncoder = m_videoCopy ? QString() : m_videoCodec;
    request.audioEncoder = m_audioCopy ? QString() : m_audioCodec;
    request.noVideo = m_noVideo;
    request.noAudio = m_noAudio;
    const StreamCopyPlan plan = StreamCopyPlan::make(m_input, request, m_ffmpeg);
    m_post << plan.arguments;
    m_cmd.notes << plan.notes;
    if (!plan.refusal.isEmpty())
        m_cmd.refusal = plan.refusal;
    // AVI stores no presentation times; copied B-frames need them made up.
    if (m_input.demuxer == QLatin1String("avi"))
        m_pre << QStringLiteral("-fflags") << QStringLiteral("+genpts");
}

void LegacyTranslator::emitQuality()
{
    const QualityOptions::Result r =
        QualityOptions::translate(m_askedVideoEncoder, m_crf, m_preset, m_hasBitRate);
    m_post << r.arguments;
    m_cmd.notes << r.notes;
    if (!r.refusal.isEmpty())
        m_cmd.refusal = r.refusal;
}

void LegacyTranslator::decideTarget()
{
    if (m_targetSsim.isEmpty() && m_targetMb.isEmpty())
        return;
    const bool moving = m_input.hasVideo && !m_input.isStillPicture && !m_noVideo && !m_videoCopy;
    QString refusal;
    m_cmd.target =
        TargetRequest::read(m_targetSsim, m_targetMb, m_askedVideoEncoder, moving, refusal);
    if (!refusal.isEmpty() && m_cmd.refusal.isEmpty())
        m_cmd.refusal = refusal;
}

void LegacyTranslator::emitMap(const QString& value)
{
    const QStringList map = LegacyOptionRules::mapArguments(value);
    if (map.isEmpty())
        note(LegacyOptionRules::ignored(LegacyOption{QStringLiteral("map"), value, true},
                                        QStringLiteral("there is only one input file")));
    m_post << map;
}

void LegacyTranslator::emitMotionEstimation(const QString& value)
{
    const QStringList method = LegacyOptionRules::motionEstimation(value, m_videoCodec);
    if (method.isEmpty())
        note(LegacyOptionRules::ignored(LegacyOption{QStringLiteral("me"), value, true},
                                        QStringLiteral("no such search method in this FFmpeg")));
    m_post << method;
}

// A name outside the old table: pass it when some codec or format of this FFmpeg knows it.
void LegacyTranslator::emitUnknown(const LegacyOption& o)
{
    if (LegacyOptionRules::isModernOption(o.name, m_ffmpeg)) {
        out(QLatin1Char('-') + o.name);
        if (o.hasValue)
            m_post << o.value;
        return;
    }
    note(LegacyOptionRules::ignored(o, QStringLiteral("unknown to this FFmpeg")));
}

QString LegacyTranslator::outputFormat() const
{
    if (!m_format.isEmpty())
        return m_format;
    if (!m_target.isEmpty()) {
        const QString kind = m_target.section(QLatin1Char('-'), -1).toLower();
        return kind.startsWith(QLatin1String("dv")) ? QStringLiteral("dv") : kind;
    }
    return m_ffmpeg.muxerForFile(m_line.output);
}

// Containers whose FFmpeg 5.1 defaults fail here or changed since the old tool.
void LegacyTranslator::emitFormatDefaults()
{
    if (!m_target.isEmpty())
        return; // the target sets every codec
    const QString format = outputFormat();
    const bool mobile = format == QLatin1String("3gp") || format == QLatin1String("3g2");
    if (m_videoCodec.isEmpty() && !m_noVideo && (mobile || format == QLatin1String("mp4")))
        out(QStringLiteral("-c:v"), QStringLiteral("mpeg4"));
    if (m_audioCodec.isEmpty() && !m_noAudio && mobile) {
        // The old default, AMR, has no encoder here.
        out(QStringLiteral("-c:a"), QStringLiteral("aac"));
    }
    if (m_impliedSampleRate > 0 && !m_noAudio) {
        if (!m_hasSampleRate)
            out(QStringLiteral("-ar"), QString::number(m_impliedSampleRate));
        if (!m_hasChannels)
            out(QStringLiteral("-ac"), QStringLiteral("1"));
    }
    // FLV stores MP3 at 44100, 22050 or 11025 Hz only.
    const int rate = m_input.sampleRate;
    if (format == QLatin1String("flv") && !m_noAudio && !m_hasSampleRate && m_input.hasAudio &&
        rate != 44100 && rate != 22050 && rate != 11025 &&
        (m_audioCodec.isEmpty() || m_audioCodec == QLatin1String("libmp3lame")))
        out(QStringLiteral("-ar"), QStringLiteral("44100"));
}

void LegacyTranslator::emitCover()
{
    if (!m_coverAsClip)
        return;
    // A stream marked as a cover would be stored as one picture, which most containers refuse;
    // the looped picture runs until the sound ends.
    out(QStringLiteral("-disposition:v:0"), QStringLiteral("0"));
    out(QStringLiteral("-shortest"));
}

// Seconds given by the last -`name` option; -1 when there is none, -2 when it cannot be read.
double LegacyTranslator::optionSeconds(const char* name) const
{
    double seconds = -1;
    for (const LegacyOption& o : m_line.options) {
        if (is(o, name) && !m_ffmpeg.parseDuration(o.value, seconds))
            seconds = -2;
    }
    return seconds;
}

PictureOrigin LegacyTranslator::origin(const OutputExpectation& expected) const
{
    PictureOrigin o;
    o.reencoded = expected.video && m_input.hasVideo && !m_input.isStillPicture && !m_videoCopy;
    o.sourceStart = std::max(0.0, optionSeconds("ss"));
    o.filters = m_filters.video();
    return o;
}

OutputExpectation LegacyTranslator::expectation() const
{
    OutputExpectation e;
    if (!m_input.ok)
        return e;
    const QString format = outputFormat();
    if (!m_mapped) {
        e.video =
            (m_input.hasVideo || m_coverAsClip) && !m_noVideo && m_ffmpeg.takesMovingVideo(format);
        e.audio = m_input.hasAudio && !m_noAudio && m_ffmpeg.takesAudio(format);
    }
    const double start = optionSeconds("ss");
    const double length = optionSeconds("t");
    if (m_limited || start < -1 || length < -1)
        return e;
    double seconds = m_input.lengthEstimated ? 0 : m_input.duration;
    if (m_input.isStillPicture)
        seconds = length >= 0 ? length : EncoderToolContract::kStillPictureSeconds;
    seconds = std::max(0.0, seconds - std::max(0.0, start));
    if (length >= 0)
        seconds = std::min(seconds, length);
    e.seconds = seconds;
    return e;
}
