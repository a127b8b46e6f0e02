#include "SegmentManifest.h"

#include "SegmentWorkFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace SW = SegmentWorkFolder;

namespace {

const QLatin1String kSize("size"), kModified("modified"), kCommand("command"), kCuts("cuts"),
    kIndex("index"), kBytes("bytes");

} // namespace

SegmentManifest::SegmentManifest(const QString& output, const QString& input,
                                 const QStringList& command)
    : m_folder(SW::folderFor(output)), m_input(input), m_command(command)
{
    const QString suffix = QFileInfo(output).suffix();
    m_extension = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
}

QString SegmentManifest::segmentFile(int i) const
{
    return QDir(m_folder).filePath(
        QStringLiteral("segment-%1%2").arg(i, 4, 10, QLatin1Char('0')).arg(m_extension));
}

QString SegmentManifest::partFile(int i) const
{
    return QDir(m_folder).filePath(
        QStringLiteral("segment-%1.part%2").arg(i, 4, 10, QLatin1Char('0')).arg(m_extension));
}

QJsonObject SegmentManifest::identity() const
{
    const QFileInfo info(m_input);
    QJsonObject o;
    o.insert(QLatin1String(SW::kLayoutKey), SW::kLayout);
    o.insert(QLatin1String(SW::kInputKey), m_input);
    o.insert(kSize, QString::number(info.size()));
    o.insert(kModified, QString::number(info.lastModified().toMSecsSinceEpoch()));
    o.insert(kCommand, QJsonArray::fromStringList(m_command));
    return o;
}

bool SegmentManifest::open(const SegmentPlan& plan, const FileCheck& check, QString& why)
{
    m_plan = plan;
    m_done.clear();
    m_doneBytes.clear();
    QFile file(QDir(m_folder).filePath(QLatin1String(SW::kManifest)));
    QJsonObject kept;
    if (file.open(QIODevice::ReadOnly))
        kept = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    bool same = !kept.isEmpty();
    const QJsonObject id = identity();
    for (auto it = id.begin(); same && it != id.end(); ++it)
        same = kept.value(it.key()) == it.value();
    if (same) {
        m_plan.cuts.clear();
        for (const QJsonValue& cut : kept.value(kCuts).toArray())
            m_plan.cuts << cut.toDouble();
        for (const QJsonValue& entry : kept.value(QLatin1String(SW::kDoneKey)).toArray()) {
            const QJsonObject s = entry.toObject();
            const int i = s.value(kIndex).toInt(-1);
            const qint64 bytes = s.value(kBytes).toString().toLongLong();
            if (i >= 0 && i < m_plan.count() && QFileInfo(segmentFile(i)).size() == bytes &&
                bytes > 0 && check(segmentFile(i))) {
                m_done << i;
                m_doneBytes << bytes;
            }
        }
    } else {
        QDir(m_folder).removeRecursively();
    }
    if (!QDir().mkpath(m_folder)) {
        why = QStringLiteral("cannot make the work folder \"%1\"").arg(m_folder);
        return false;
    }
    return save(why);
}

double SegmentManifest::doneSeconds() const
{
    double seconds = 0;
    for (const int i : m_done)
        seconds += (m_plan.end(i) > 0 ? m_plan.end(i) : m_plan.duration) - m_plan.start(i);
    return seconds;
}

bool SegmentManifest::finish(int i, QString& why)
{
    QFile::remove(segmentFile(i));
    if (!QFile::rename(partFile(i), segmentFile(i))) {
        why = QStringLiteral("cannot keep the segment \"%1\"").arg(segmentFile(i));
        return false;
    }
    m_done << i;
    m_doneBytes << QFileInfo(segmentFile(i)).size();
    return save(why);
}

void SegmentManifest::remove()
{
    QDir(m_folder).removeRecursively();
}

bool SegmentManifest::save(QString& why) const
{
    QJsonObject o = identity();
    o.insert(QLatin1String(SW::kDurationKey), m_plan.duration);
    QJsonArray cuts;
    for (const double cut : m_plan.cuts)
        cuts << cut;
    o.insert(kCuts, cuts);
    QJsonArray done;
    for (qsizetype k = 0; k < m_done.size(); ++k) {
        const int i = m_done[k];
        done << QJsonObject{{kIndex, i},
                            {QLatin1String(SW::kStartKey), m_plan.start(i)},
                            {QLatin1String(SW::kEndKey), m_plan.end(i)},
                            {kBytes, QString::number(m_doneBytes[k])}};
    }
    o.insert(QLatin1String(SW::kDoneKey), done);
    QSaveFile file(QDir(m_folder).filePath(QLatin1String(SW::kManifest)));
    if (file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(o).toJson()) >= 0 &&
        file.commit())
        return true;
    why = QStringLiteral("cannot write the work folder's manifest: %1").arg(file.errorString());
    return false;
}
