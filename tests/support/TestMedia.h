#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Tiny media made at test time with the real ffmpeg, plus small file helpers.
namespace TestMedia {

// The built application folder (with a trailing '/').
QString appDir();
// The source tree's root (with a trailing '/').
QString sourceDir();

// Runs ffmpeg (hidden banner, errors only) with `args`; true when it exited 0.
bool ffmpeg(const QStringList& args);

// A test-pattern video with a sine tone: `seconds` long, `size` like "320x240", `rate` fps.
bool makeVideo(const QString& path, double seconds = 2.0, const QString& size = "320x240",
               int rate = 25, bool withAudio = true);
// A sine tone only.
bool makeAudio(const QString& path, double seconds = 2.0);
// One still picture (format chosen by the extension: .jpg, .png, .bmp, .gif).
bool makePicture(const QString& path, const QString& size = "160x120");

// Writes bytes to a file; true on success.
bool writeFile(const QString& path, const QByteArray& data);
QByteArray readFile(const QString& path);

// Runs ffprobe on `path`; "codec_type:codec_name:width:height" per stream plus
// "duration:<seconds>" as the last line. Empty when ffprobe fails.
QStringList probe(const QString& path);
// The container duration in seconds from ffprobe, -1 when unreadable.
double probeDuration(const QString& path);

} // namespace TestMedia
