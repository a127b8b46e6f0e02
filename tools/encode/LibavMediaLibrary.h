#pragma once

#include "MediaLibrary.h"

// The FFmpeg libraries' own answers.
class LibavMediaLibrary : public MediaLibrary
{
public:
    LibavMediaLibrary();

    MediaProbeResult probe(const QString& path) const override;
    bool hasEncoder(const QString& name, bool video) const override;
    bool hasMuxer(const QString& name) const override;
    QString muxerForFile(const QString& fileName) const override;
    bool takesMovingVideo(const QString& muxer) const override;
    bool takesAudio(const QString& muxer) const override;
    bool knowsOption(const QByteArray& name) const override;
    QByteArray capabilities() const override;
    QList<double> keyframeTimes(const QString& path) const override;
    int holds(const QString& muxer, const QString& codec) const override;
    QString usualEncoder(const QString& muxer, MediaStream::Type type) const override;
    bool parseFrameSize(const QString& text, int& width, int& height) const override;
    bool parseDuration(const QString& text, double& seconds) const override;
};
