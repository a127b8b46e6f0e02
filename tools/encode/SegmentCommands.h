#pragma once

#include "SegmentPlan.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The ffmpeg argument lists of a conversion cut into segments, made from the whole-file
// translation's ("-y", input options, "-i", input, output options, output): each segment's
// video alone, every other stream once from the whole input, and the join that copies both into
// the output with the whole conversion's format, tags and metadata. Any thread.
class SegmentCommands
{
public:
    // Reads the whole-file arguments; refusal() says when they cannot be cut.
    explicit SegmentCommands(const QStringList& whole);

    // Why this conversion cannot be cut into segments; empty when it can.
    QString refusal() const { return m_refusal; }
    // The container the output is written in ("mp4"), from "-f" or else the output's name.
    QString muxer() const { return m_muxer; }
    // The output's extension with its dot (".mp4"), which the work files share.
    QString extension() const;
    // The shortest segment worth starting this encoder for, in seconds: the AV1 encoders
    // spend a second or more setting up.
    double shortestSegment() const;

    // Segment `i` of `plan`, its video only, written to `file` by an encoder of `threads`.
    QStringList segment(const SegmentPlan& plan, int i, const QString& file, int threads) const;
    // Every stream but the video, from the whole input, written to `file`.
    QStringList rest(const QString& file) const;
    // The segments listed in `list` and the streams in `rest` (empty: none) copied into the
    // output, with the metadata and chapters the whole conversion would have.
    QStringList join(const QString& list, const QString& rest) const;
    // The concat list of `files` (names in the list's folder) for `plan`: each file with its
    // length, so that every segment starts exactly where its key frame lies.
    static QByteArray concatList(const SegmentPlan& plan, const QStringList& files);
    // `program` and `arguments` as one line a reader can paste into a POSIX shell safely.
    static QString displayText(const QString& program, const QStringList& arguments);

private:
    QStringList m_post; // the output options
    QString m_input;    // "file:..." as the translation wrote it
    QString m_output;
    QString m_encoder;
    QString m_muxer;
    QString m_refusal;
};
