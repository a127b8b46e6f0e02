#include "WatchRecord.h"

#include "KeptFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The file's own mark: a file without it was not written by this program.
const char kFormat[] = "Tovel Video Converter watch record";
// A record of even a very large library is far smaller; anything larger is not one.
constexpr qint64 kMaxBytes = 256 * 1024 * 1024;

} // namespace

WatchRecord::WatchRecord(const QString& stateFolder, const QString& folder)
    : m_folder(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()))
{
    // One record per folder, named by a digest: a folder's path may be longer than a name.
    const QByteArray digest =
        QCryptographicHash::hash(m_folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_path = QDir(stateFolder).filePath(QStringLiteral("watch-%1.json").arg(QLatin1String(digest)));
}

WatchRecord::Found WatchRecord::load(QString& aside)
{
    m_files.clear();
    QFile file(m_path);
    if (!file.exists())
        return Nothing;
    bool good = file.size() <= kMaxBytes && file.open(QIODevice::ReadOnly);
    const QJsonDocument document = good ? QJsonDocument::fromJson(file.readAll()) : QJsonDocument();
    file.close();
    const QJsonObject top = document.object();
    good = good && top.value(QStringLiteral("format")).toString() == QLatin1String(kFormat) &&
           top.value(QStringLiteral("files")).isArray();
    for (const QJsonValue& value : top.value(QStringLiteral("files")).toArray()) {
        const QJsonObject entry = value.toObject();
        const QJsonValue path = entry.value(QStringLiteral("path"));
        const QJsonValue size = entry.value(QStringLiteral("size"));
        const QJsonValue modified = entry.value(QStringLiteral("modified"));
        if (!path.isString() || !size.isDouble() || !modified.isDouble()) {
            good = false;
            break;
        }
        m_files.insert(path.toString(), {qint64(size.toDouble()), qint64(modified.toDouble()),
                                         entry.value(QStringLiteral("result")).toString()});
    }
    if (good)
        return Read;
    m_files.clear();
    aside = KeptFile::setAside(m_path);
    return Damaged;
}

bool WatchRecord::has(const QString& file) const
{
    const auto found = m_files.constFind(file);
    if (found == m_files.cend())
        return false;
    const QFileInfo now(file);
    return now.size() == found->size && now.lastModified().toMSecsSinceEpoch() == found->modified;
}

bool WatchRecord::add(const QString& file, const QString& result)
{
    const QFileInfo now(file);
    m_files.insert(file, {now.size(), now.lastModified().toMSecsSinceEpoch(), result});
    QJsonArray files;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        files.append(QJsonObject{{QStringLiteral("path"), it.key()},
                                 {QStringLiteral("size"), double(it->size)},
                                 {QStringLiteral("modified"), double(it->modified)},
                                 {QStringLiteral("result"), it->result}});
    const QJsonObject top{{QStringLiteral("format"), QString::fromLatin1(kFormat)},
                          {QStringLiteral("folder"), m_folder},
                          {QStringLiteral("files"), files}};
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return KeptFile::write(m_path, QJsonDocument(top).toJson(QJsonDocument::Compact));
}
