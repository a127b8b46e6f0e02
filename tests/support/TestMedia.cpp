#include "TestMedia.h"

#include <QFile>
#include <QProcess>

QString TestMedia::appDir()
{
    return QStringLiteral(TOVEL_APP_DIR);
}

QString TestMedia::sourceDir()
{
    return QStringLiteral(TOVEL_SOURCE_DIR);
}

bool TestMedia::ffmpeg(const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("ffmpeg"),
            QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + args);
    if (!p.waitForFinished(120000))
        return false;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool TestMedia::makeVideo(const QString& path, double seconds, const QString& size, int rate,
                          bool withAudio)
{
    QStringList args{
        "-f", "lavfi", "-i",
        QStringLiteral("testsrc=size=%1:rate=%2:duration=%3").arg(size).arg(rate).arg(seconds)};
    if (withAudio)
        args += QStringList{
            "-f", "lavfi", "-i",
            QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds)};
    args += QStringList{"-pix_fmt", "yuv420p", "-shortest", path};
    return ffmpeg(args);
}

bool TestMedia::makeAudio(const QString& path, double seconds)
{
    return ffmpeg({"-f", "lavfi", "-i",
                   QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds),
                   path});
}

bool TestMedia::makePicture(const QString& path, const QString& size)
{
    return ffmpeg({"-f", "lavfi", "-i", QStringLiteral("testsrc=size=%1:rate=1").arg(size),
                   "-frames:v", "1", path});
}

bool TestMedia::writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(data) == data.size();
}

QByteArray TestMedia::readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList TestMedia::probe(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries",
                                        "stream=codec_type,codec_name,width,height:format=duration",
                                        "-of", "compact=p=0:nk=1", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList out;
    for (const QString& line :
         QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
        out << line.trimmed();
    return out;
}

double TestMedia::probeDuration(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"),
            {"-v", "error", "-show_entries", "format=duration", "-of", "default=nw=1:nk=1", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return -1;
    bool ok = false;
    const double d = QString::fromUtf8(p.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? d : -1;
}
