#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

// Where the encoder tool keeps the finished segments of a conversion cut into segments, and
// what the engine may read of it: the tool writes, the engine only reads the share done and
// removes a folder whose row went away. Beside the output, under a hidden name of its own, so
// that the kept work lies on the output's disk and goes with it. Any thread; files only.
namespace SegmentWorkFolder {

// Manifest of a work folder: what the segments were made from and which are done.
inline constexpr char kManifest[] = "manifest.json";
// The manifest's layout; a folder of another layout is never trusted.
inline constexpr int kLayout = 1;
inline constexpr char kLayoutKey[] = "layout";
inline constexpr char kInputKey[] = "input";
inline constexpr char kDurationKey[] = "duration";
inline constexpr char kDoneKey[] = "done";
inline constexpr char kStartKey[] = "start";
inline constexpr char kEndKey[] = "end";

// The work folder of the conversion that writes `output`: ".NAME.tovel-parts" beside it.
inline QString folderFor(const QString& output)
{
    const QFileInfo info(output);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".tovel-parts"));
}

// The manifest of `output`'s work folder when it is of this layout and was made from `input`;
// an empty object otherwise.
inline QJsonObject manifestFor(const QString& output, const QString& input)
{
    QFile file(QDir(folderFor(output)).filePath(QLatin1String(kManifest)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
    if (manifest.value(QLatin1String(kLayoutKey)).toInt() != kLayout ||
        manifest.value(QLatin1String(kInputKey)).toString() != input)
        return {};
    return manifest;
}

// Whole percent of `input`'s conversion to `output` that kept segments hold; 0 when none.
inline int donePercent(const QString& output, const QString& input)
{
    const QJsonObject manifest = manifestFor(output, input);
    const double duration = manifest.value(QLatin1String(kDurationKey)).toDouble();
    if (duration <= 0)
        return 0;
    double done = 0;
    for (const QJsonValue& segment : manifest.value(QLatin1String(kDoneKey)).toArray()) {
        const QJsonObject s = segment.toObject();
        const double end = s.value(QLatin1String(kEndKey)).toDouble();
        done += (end > 0 ? end : duration) - s.value(QLatin1String(kStartKey)).toDouble();
    }
    return qBound(0, int(100 * done / duration), 99);
}

// Removes `output`'s work folder when it was made from `input` (or holds no manifest at all);
// a folder of another input is left alone. True when no such folder remains.
inline bool removeFor(const QString& output, const QString& input)
{
    QDir folder(folderFor(output));
    if (!folder.exists())
        return true;
    if (folder.exists(QLatin1String(kManifest)) && manifestFor(output, input).isEmpty())
        return false;
    return folder.removeRecursively();
}

} // namespace SegmentWorkFolder
