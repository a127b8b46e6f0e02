#pragma once

#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "MediaLibrary.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ChildLifetime;
class StdinWatcher;

// A conversion aimed at a target: a size (two passes at the bit rate the size allows, checked
// and, when it missed, encoded once more at a rate corrected by what it measured) or a quality
// (the highest CRF whose short samples reach the SSIM asked for). Its pass logs and samples live
// in a temporary folder of this conversion's own. Converted whole, never cut into segments.
// Tool's main thread.
class TargetConversion
{
public:
    // Share of the target size kept free for the container; the least video bit rate worth a
    // picture.
    static constexpr double kContainerShare = 0.02;
    static constexpr double kLeastVideoBps = 48000;
    // The samples each probe of a target quality encodes.
    static constexpr int kSamples = 3;
    static constexpr double kSampleSeconds = 1.0;

    // The video bit rate for `megabytes` over `seconds` beside `audioBps`; 0 with `least` set
    // to the least megabytes that work when the size is too small.
    static double videoBitRate(double megabytes, double seconds, double audioBps, double& least);

    // True when `line` asks for a target quality or size.
    static bool asked(const LegacyCommandLine& line);

    // Converts `input` (the resolved file of `line`) with `ffmpeg`; returns the exit code.
    static int run(const LegacyCommandLine& line, const QString& input, const QString& ffmpeg,
                   const QString& toolFolder, StdinWatcher& watcher, ChildLifetime& lifetime);

private:
    TargetConversion(const LegacyCommandLine& line, const QString& input, const QString& ffmpeg,
                     StdinWatcher& watcher, ChildLifetime& lifetime);
    int convert(const MediaLibrary& library);
    // Both passes at `bps` (one where the encoder has no two-pass mode) into the output.
    int encodeAtRate(double bps);
    int toSize();
    // The CRF chosen for the target quality; -1 when stopped or a sample failed (`code` set).
    int searchCrf(int& code);
    // Decodes the stretches of the source the samples are made from; false when it could not.
    bool cutStretches();
    // The samples' SSIM at `crf`, with their bytes; < 0 when they could not be made.
    double probe(int crf, qint64& bytes);
    int finish(int code, int crf);
    // One run of ffmpeg; its progress counts as `offset` + time * `factor`.
    int runFfmpeg(const QStringList& arguments, double offset, double factor);
    QStringList passArguments(int pass) const;

    const LegacyCommandLine& m_line;
    const QString m_input;
    const QString m_ffmpeg;
    StdinWatcher& m_watcher;
    ChildLifetime& m_lifetime;
    const MediaLibrary* m_library = nullptr;
    FfmpegCommand m_command;
    QStringList m_pre;    // the arguments before the input's "-i", without a start
    QStringList m_post;   // the output options, without a rate or quality of the picture
    QString m_profileCrf; // the line's own CRF, where a target quality's search starts
    double m_start = 0;   // where in the source the output begins
    double m_seconds = 0;
    QTemporaryDir m_work;
    QStringList m_stretches; // lossless copies of the source's sampled stretches
    bool m_stopped = false;
    QElapsedTimer m_took;
};
