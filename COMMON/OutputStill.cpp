#include "OutputStill.h"

#include "CAvsScriptWriter.h"
#include "CEncoderCommandBuilder.h"
#include "CFailureReason.h"
#include "ConversionJob.h"
#include "EncoderToolContract.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <utility>

OutputStill::OutputStill(const QString& appFolder, QObject* parent)
    : QObject(parent), m_appFolder(appFolder)
{
}

OutputStill::~OutputStill()
{
    cancel();
}

QString OutputStill::unavailable(const ConversionJob& job)
{
    if (!job.profile)
        return QStringLiteral("the row has no profile");
    if (job.profile->format.compare("rm", Qt::CaseInsensitive) == 0)
        return QStringLiteral("a RealMedia row has no output picture to show");
    if (!job.media.hasVideo)
        return QStringLiteral("the file has no moving picture");
    const auto value = [&](const char* key) {
        const ProfileOption* option = job.profile->optionNamed(key);
        return option ? option->value.trimmed().toLower() : QByteArray();
    };
    if (value("vn") == "true")
        return QStringLiteral("the row writes no picture");
    if (value("vcodec") == "copy")
        return QStringLiteral("the row copies the picture as it is");
    return QString();
}

quint64 OutputStill::request(const ConversionJob& job, double seconds)
{
    cancel();
    const quint64 id = ++m_last;
    const QString why = unavailable(job);
    if (!why.isEmpty() || !m_folder.isValid()) {
        refuse(id, why.isEmpty() ? QStringLiteral("no temporary folder") : why);
        return id;
    }
    // A new name each time: the picture of the request before may still be on show.
    const QString png = m_folder.filePath(QStringLiteral("still-%1.png").arg(id));
    QFile::remove(m_folder.filePath(QStringLiteral("still-%1.png").arg(id - 1)));
    const QString script = m_folder.filePath(QLatin1String(CAvsScriptWriter::kScriptName));
    const EncoderCommand command = CEncoderCommandBuilder::forJob(m_appFolder, job, png, script);
    // The builder names the script instead of an input only the in-process detector read.
    if (command.arguments.contains(QDir::toNativeSeparators(script)) ||
        command.arguments.contains(script)) {
        if (CAvsScriptWriter::writeScript(script, job.inputPath) == CAvsScriptWriter::Failed) {
            refuse(id, QStringLiteral("the script for the input cannot be written"));
            return id;
        }
    }
    m_tool = new QProcess(this);
    m_tool->setProcessChannelMode(QProcess::MergedChannels);
    m_tool->setWorkingDirectory(m_folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(EncoderToolContract::kStillVariable),
                       QString::number(seconds, 'f', 3));
    environment.insert(QLatin1String(EncoderToolContract::kSegmentsVariable), QStringLiteral("0"));
    m_tool->setProcessEnvironment(environment);
    connect(m_tool, &QProcess::finished, this, [this, id] { finish(id, false); });
    connect(m_tool, &QProcess::errorOccurred, this, [this, id](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(id, false);
    });
    auto* limit = new QTimer(m_tool);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, this, [this, id] { finish(id, true); });
    limit->start(kTimeLimitMs);
    m_tool->start(command.program, command.arguments);
    return id;
}

void OutputStill::cancel()
{
    if (!m_tool)
        return;
    QProcess* tool = std::exchange(m_tool, nullptr);
    tool->disconnect(this);
    tool->kill();
    // Deleted once ended: a running process's destructor would wait for it here.
    if (tool->state() == QProcess::NotRunning)
        tool->deleteLater();
    else
        connect(tool, &QProcess::finished, tool, &QObject::deleteLater);
}

void OutputStill::refuse(quint64 id, const QString& reason)
{
    QTimer::singleShot(0, this, [this, id, reason] {
        if (id == m_last)
            emit failed(id, reason);
    });
}

void OutputStill::finish(quint64 id, bool timedOut)
{
    if (!m_tool || id != m_last)
        return;
    const QByteArray said = m_tool->readAll();
    const QString png = m_folder.filePath(QStringLiteral("still-%1.png").arg(id));
    const bool ended = m_tool->state() == QProcess::NotRunning &&
                       m_tool->exitStatus() == QProcess::NormalExit && m_tool->exitCode() == 0;
    cancel();
    static const QRegularExpression frame(
        QStringLiteral("%1(\\d+)x(\\d+)").arg(QLatin1String(EncoderToolContract::kStillFrame)));
    const QRegularExpressionMatch size = frame.match(QString::fromLocal8Bit(said));
    if (!timedOut && ended && size.hasMatch() && QFile::exists(png)) {
        emit ready(id, png, QSize(size.captured(1).toInt(), size.captured(2).toInt()));
        return;
    }
    CFailureReason reason;
    for (const QByteArray& line : said.split('\n'))
        if (!line.trimmed().isEmpty())
            reason.note(line.trimmed());
    emit failed(id, timedOut ? QStringLiteral("no picture within %1 s").arg(kTimeLimitMs / 1000)
                    : reason.reason().isEmpty() ? QStringLiteral("the encoder tool gave no picture")
                                                : reason.reason());
}
