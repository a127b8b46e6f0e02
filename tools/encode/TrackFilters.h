#pragma once

#include "MediaProbe.h"
#include "SourceFindings.h"

#include <QString>
#include <QStringList>

// The filter and encoder texts the track rows write from what a look at the source found.
// Any thread.
class TrackFilters
{
public:
    // The second pass of loudness normalisation to `target` LUFS for a track measured as `m`,
    // back at its own `sampleRate` (0: unknown).
    static QString loudness(const SourceFindings::Loudness& m, double target, int sampleRate);

    // The encoder parameters that carry `hdr`: x265's form for `x265`, else SVT-AV1's.
    static QStringList hdrParameters(const SourceFindings::Hdr& hdr, bool x265);

    // Writes the options that carry `hdr` for `encoder` into `post`, or says in `notes` why
    // it cannot; nothing when the source has no such metadata.
    static void emitHdr(const SourceFindings::Hdr& hdr, const QString& encoder, QStringList& post,
                        QStringList& notes);

    // "-filter:a:K" and its chain for each sound track kept (`audio`, input streams in output
    // order): `before` (may be empty), then the normalisation to `target` LUFS where the track
    // was measured; `notes` says which could not be.
    static QStringList soundOptions(const QList<int>& audio, const MediaProbeResult& input,
                                    const SourceFindings& found, double target,
                                    const QString& before, QStringList& notes);

    // Why the crop `sides` (top, bottom, left, right) cannot apply to a `width` x `height`
    // picture; empty when it can.
    static QString cropProblem(const int sides[4], int width, int height);

    // The filter that draws subtitle stream `subtitle` (among the subtitles) of the file at
    // `path` onto the picture.
    static QString burnIn(const QString& path, int subtitle);
};
