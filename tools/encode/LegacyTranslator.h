#pragma once

#include "FilterChainBuilder.h"
#include "LegacyCommandLine.h"
#include "MediaProbe.h"
#include "SourceFindings.h"
#include "StreamSelection.h"
#include "TrackSettings.h"

#include <QString>
#include <QStringList>

class FfmpegCatalogue;

// What a finished conversion must hold for the input and options it was made from.
struct OutputExpectation
{
    bool video = false; // a moving picture
    bool audio = false;
    double seconds = 0; // the play time; 0 when the options or the input leave it open
};

// What a measure of the output against its source needs: whether a moving picture was
// re-encoded from one, where in the source the output begins, and the filters between.
struct PictureOrigin
{
    bool reencoded = false;
    double sourceStart = 0;
    QString filters;
};

// The quality or the size a file should come out at; 0: none asked.
struct ConversionTarget
{
    double ssim = 0;
    double megabytes = 0; // of 1,000,000 bytes
    QString videoEncoder; // FFmpeg's name of the encoder the target drives
    bool any() const { return ssim > 0 || megabytes > 0; }
};

// What the translation gives: ffmpeg's arguments (without the program), one line for each
// legacy option that could not be honoured as written, and what the output should be.
struct FfmpegCommand
{
    QStringList arguments;
    QStringList notes;
    OutputExpectation expected;
    PictureOrigin origin;
    ConversionTarget target;
    QString refusal; // not empty: the line cannot be converted, and this says why
    // What the source must be looked at for before the line can be written in full.
    TrackSettings tracks;
    QList<int> keptAudio;    // input stream of each sound track kept, in output order
    QString audioFilters;    // the sound chain every kept track goes through before loudness
    bool lookForHdr = false; // the picture is encoded with its metadata kept
};

// Turns one conversion command line of the old tool's option language into an FFmpeg 5.1
// argument list with the same meaning. `inputPath` is the file to convert (the script's
// source when the line names edit.avs); `input` is what a probe of it found; `ffmpeg` says
// which names FFmpeg knows.
class LegacyTranslator
{
public:
    // Frames per second of a picture shown as a clip.
    static constexpr int kStillRate = 25;

    // `found` is what a look at the source found for the rows that adapt to it; without it
    // those rows change nothing.
    static FfmpegCommand translate(const LegacyCommandLine& line, const QString& inputPath,
                                   const MediaProbeResult& input, const FfmpegCatalogue& ffmpeg,
                                   const SourceFindings& found = SourceFindings());

private:
    LegacyTranslator(const LegacyCommandLine& line, const MediaProbeResult& input,
                     const FfmpegCatalogue& ffmpeg, const SourceFindings& found);

    void collect();
    void emitOption(const LegacyOption& option);
    // Each writes the options of its kind and returns whether `option` was one of them.
    bool emitInputTiming(const LegacyOption& option);
    bool emitPicture(const LegacyOption& option);
    bool emitMetadata(const LegacyOption& option);
    bool emitOutputMode(const LegacyOption& option);
    bool emitRenamed(const LegacyOption& option);
    bool emitIgnored(const LegacyOption& option);
    void emitCodec(const LegacyOption& option, bool video);
    void emitMap(const QString& value);
    void emitMotionEstimation(const QString& value);
    void emitUnknown(const LegacyOption& option);
    void emitQuality();
    void decideTarget();
    void decideShape();
    void emitCopyPlan();
    void emitFormatDefaults();
    void emitCover();
    void applyTrackPicture();
    void selectStreams(const QString& inputPath);
    void emitSoundFilters();
    void emitHdr();
    OutputExpectation expectation() const;
    PictureOrigin origin(const OutputExpectation& expected) const;
    double optionSeconds(const char* name) const;
    QString outputFormat() const;
    void note(const QString& text) { m_cmd.notes << text; }
    void out(const QString& a) { m_post << a; }
    void out(const QString& a, const QString& b) { m_post << a << b; }

    const LegacyCommandLine& m_line;
    const MediaProbeResult& m_input;
    const FfmpegCatalogue& m_ffmpeg;
    const SourceFindings& m_found;
    FfmpegCommand m_cmd;
    StreamSelection m_selection;
    bool m_selecting = false; // the track rows map the streams one by one
    FilterChainBuilder m_filters;
    QStringList m_pre;  // input options, before -i
    QStringList m_post; // output options, after -i

    QString m_target, m_rate, m_tvstd, m_format, m_videoCodec, m_audioCodec;
    QString m_aspect, m_shapeAspect; // the asked aspect; the one the shape rule writes instead
    QString m_crf, m_preset, m_askedVideoEncoder; // the encoder the crf and preset are for
    QString m_targetSsim, m_targetMb;
    bool m_videoCopy = false, m_audioCopy = false, m_noVideo = false, m_noAudio = false;
    bool m_hasDuration = false, m_hasSampleRate = false, m_hasChannels = false;
    bool m_coverAsClip = false, m_limited = false, m_mapped = false, m_hasBitRate = false;
    bool m_copyPlan = false; // a copy that maps the probed streams one by one
    int m_impliedSampleRate = 0;
    QString m_syncMode; // -fps_mode value; empty when the line gave no -vsync
};
