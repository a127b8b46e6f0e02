#pragma once

#include "FfmpegCatalogue.h"
#include "MediaProbe.h"

#include <QList>
#include <QString>

#include <memory>

// The FFmpeg libraries as this tool uses them. They live in a module of their own, loaded only
// where they are needed (the information request, checking a translation and an output):
// loading them costs more than starting ffmpeg, which loads its own.
// Any thread; the object holds no state of its own.
class MediaLibrary : public FfmpegCatalogue
{
public:
    // What an in-process look at `path` finds (ProbeMediaFile).
    virtual MediaProbeResult probe(const QString& path) const = 0;
    // Every encoder and output format, one a line: "video NAME", "audio NAME", "muxer NAME
    // EXT,EXT" (the extensions may be missing).
    virtual QByteArray capabilities() const = 0;
    // The presentation times, in seconds from the file's start, of the video stream's key
    // frames in the order the file stores them; empty when there is no video stream or the file
    // cannot be read. Reads every packet's header, no picture.
    virtual QList<double> keyframeTimes(const QString& path) const = 0;

    // Loads the module beside this tool (in `toolFolder`); null, and `why` set, when it cannot.
    static std::unique_ptr<MediaLibrary> load(const QString& toolFolder, QString& why);
};

// The module's one entry point: a new library object, owned by the caller.
using CreateMediaLibrary = MediaLibrary* (*)();
