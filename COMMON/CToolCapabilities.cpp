#include "CToolCapabilities.h"

#include "EncoderTool.h"
#include "EncoderToolContract.h"

#include <QFileInfo>
#include <QProcess>

namespace {

// The tool loads FFmpeg's libraries once and lists them: a second or two on a slow machine.
constexpr int kAnswerMs = 30000;

} // namespace

CToolCapabilities::CToolCapabilities(const QByteArray& listing)
{
    for (const QByteArray& line : listing.split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() < 2)
            continue;
        const QString name = QString::fromLatin1(words[1]);
        if (words[0] == EncoderToolContract::kVideoEncoderWord) {
            m_video.insert(name);
        } else if (words[0] == EncoderToolContract::kAudioEncoderWord) {
            m_audio.insert(name);
        } else if (words[0] == EncoderToolContract::kMuxerWord) {
            // "mov,mp4,m4a,..." names a reader; a writer has one name, kept whole anyway.
            for (const QByteArray& alias : words[1].split(','))
                m_muxers.insert(QString::fromLatin1(alias));
            if (words.size() > 2)
                for (const QByteArray& ext : words[2].split(','))
                    if (!m_byExtension.contains(QString::fromLatin1(ext).toLower()))
                        m_byExtension.insert(QString::fromLatin1(ext).toLower(), name);
        }
    }
}

bool CToolCapabilities::Query(const QString& appFolder, CToolCapabilities& capabilities)
{
    QProcess tool;
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.start(appFolder + EncoderTool::fileName(),
               {QLatin1String(EncoderToolContract::kLanguage),
                QLatin1String(EncoderToolContract::kCapabilitiesSwitch)});
    if (!tool.waitForFinished(kAnswerMs)) {
        tool.kill();
        tool.waitForFinished(-1);
        return false;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return false;
    capabilities = CToolCapabilities(tool.readAllStandardOutput());
    return !capabilities.isEmpty();
}

bool CToolCapabilities::hasEncoder(const QString& name, bool video) const
{
    return (video ? m_video : m_audio).contains(name);
}

bool CToolCapabilities::hasMuxer(const QString& name) const
{
    return m_muxers.contains(name);
}

QString CToolCapabilities::muxerForFile(const QString& fileName) const
{
    return m_byExtension.value(QFileInfo(fileName).suffix().toLower());
}
