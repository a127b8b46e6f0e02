#pragma once

#include "FfmpegCatalogue.h"

// Answers without the FFmpeg libraries, taking every name on trust: a translation made with
// it starts ffmpeg at once and is then checked against the real answers.
class TrustingCatalogue : public FfmpegCatalogue
{
public:
    bool hasEncoder(const QString&, bool) const override { return true; }
    bool hasMuxer(const QString&) const override { return true; }
    // The file's extension, which is what the formats that change the translation go by.
    QString muxerForFile(const QString& fileName) const override;
    bool takesMovingVideo(const QString&) const override { return true; }
    bool takesAudio(const QString&) const override { return true; }
    bool knowsOption(const QByteArray&) const override { return true; }
    int holds(const QString&, const QString&) const override { return 1; }
    QString usualEncoder(const QString&, MediaStream::Type) const override { return QString(); }
    // Digits only ("320x240").
    bool parseFrameSize(const QString& text, int& width, int& height) const override;
    // Plain seconds only.
    bool parseDuration(const QString& text, double& seconds) const override;
};
