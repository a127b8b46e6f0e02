#pragma once

#include "LegacyTranslator.h"
#include "SourceFindings.h"

#include <QString>
#include <QStringList>

class ChildLifetime;
class StdinWatcher;

// Looks at the source for the rows that adapt to it, with ffmpeg's own detectors: black borders
// (cropdetect) and interlacing (idet) on samples spread over the file, the loudness of every
// kept sound track (loudnorm's first pass). Tool's main thread; blocks until done or stopped.
class SourceAnalysis
{
public:
    // Pictures looked at: spread over the file, so one scene cannot decide for all.
    static constexpr int kSamples = 12;
    static constexpr int kFramesPerSample = 8;

    SourceAnalysis(const QString& ffmpeg, StdinWatcher& watcher, ChildLifetime& lifetime);

    // The translation of `line` for `input` (resolved) with `probe`, looked at first where its
    // rows adapt to the source; the findings' notes come first among its notes.
    FfmpegCommand translate(const LegacyCommandLine& line, const QString& input,
                            const MediaProbeResult& probe, const FfmpegCatalogue& catalogue);
    // What `command` (the translation of `input` with `probe`) needs found; `notes` gets one
    // line for each finding. Stops early, with what it has, on a stop request.
    SourceFindings run(const QString& input, const MediaProbeResult& probe,
                       const FfmpegCommand& command, QStringList& notes);
    // True when a stop request ended the analysis.
    bool stopped() const { return m_stopped; }

    // The smallest crop (top, bottom, left, right, in even pixels) that keeps every non-black
    // part of a `width` x `height` picture, from cropdetect's reports on several samples;
    // false when every sample was black.
    static bool unionCrop(const QList<QByteArray>& reports, int width, int height, int crop[4]);
    // HDR10's static metadata in showinfo's `report` on a first picture.
    static SourceFindings::Hdr hdrOf(const QByteArray& report);
    // Whether idet's reports on the samples show an interlaced source; `summary` says what
    // was counted.
    static bool interlaced(const QList<QByteArray>& reports, QString& summary);

private:
    // ffmpeg's output for `arguments`; empty once stopped.
    QByteArray runFfmpeg(const QStringList& arguments);
    // The output of each run, several at once; empty once stopped.
    QList<QByteArray> runAll(const QList<QStringList>& runs);
    void samplePictures(const QString& input, const MediaProbeResult& probe,
                        const TrackSettings& settings, SourceFindings& found, QStringList& notes);
    void readHdr(const QString& input, const MediaProbeResult& probe, SourceFindings& found,
                 QStringList& notes);
    void measureLoudness(const QString& input, const FfmpegCommand& command, SourceFindings& found,
                         QStringList& notes);

    QString m_ffmpeg;
    StdinWatcher& m_watcher;
    ChildLifetime& m_lifetime;
    bool m_stopped = false;
};
