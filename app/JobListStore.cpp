#include "JobListStore.h"

#include "KeptFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

// The file's own marks: a file without them was not written by this program.
const char kFormat[] = "Tovel Video Converter job list";
constexpr int kVersion = 1;
// The state a kept status names; "" is a row never converted in a list kept before statuses
// were. A converting row is kept as "Ready", so "Converting" is no kept status.
std::optional<RowState> keptState(const QString& status)
{
    if (status.isEmpty())
        return RowState::Ready;
    const std::optional<RowState> state = rowStateFromName(status);
    if (state == RowState::Converting)
        return std::nullopt;
    return state;
}
// A kept list is small; anything far larger is not one.
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

QString local(const QByteArray& bytes)
{
    return QString::fromLocal8Bit(bytes);
}

QJsonObject verdictObject(const QualityVerdict& v)
{
    QJsonObject o{{QStringLiteral("size"), v.sizeShare}};
    if (v.hasSsim()) {
        o.insert(QStringLiteral("ssim"), v.ssim);
        o.insert(QStringLiteral("psnr"), v.psnr);
        o.insert(QStringLiteral("below"), v.belowFloor);
    }
    if (v.sampled())
        o.insert(QStringLiteral("sampled"), QJsonArray{v.measuredSeconds, v.totalSeconds});
    if (v.crf >= 0)
        o.insert(QStringLiteral("crf"), v.crf);
    if (!v.unmeasured.isEmpty())
        o.insert(QStringLiteral("unmeasured"), v.unmeasured);
    return o;
}

// The verdict kept as `o`; a figure of the wrong kind reads as not measured.
QualityVerdict verdictOf(const QJsonObject& o)
{
    QualityVerdict v;
    v.sizeShare = o.value(QStringLiteral("size")).toDouble(-1);
    v.ssim = o.value(QStringLiteral("ssim")).toDouble(-1);
    v.psnr = o.value(QStringLiteral("psnr")).toDouble(-1);
    if (v.ssim > 1.0)
        v.ssim = -1;
    v.belowFloor = v.hasSsim() && o.value(QStringLiteral("below")).toBool();
    const QJsonArray sampled = o.value(QStringLiteral("sampled")).toArray();
    if (sampled.size() == 2) {
        v.measuredSeconds = sampled[0].toDouble();
        v.totalSeconds = sampled[1].toDouble();
    }
    v.crf = o.value(QStringLiteral("crf")).toInt(-1);
    v.unmeasured = o.value(QStringLiteral("unmeasured")).toString();
    return v;
}

} // namespace

JobListStore::JobListStore(const QString& folder)
    : m_path(QDir(QDir::fromNativeSeparators(folder)).filePath(QStringLiteral("joblist.json")))
{
}

namespace {

// A sub-folder this program keeps names a folder below the output folder, never one above it
// or elsewhere: a file edited to say otherwise would write where the user never chose.
bool staysInside(const QString& subfolder)
{
    const QString clean = QDir::cleanPath(subfolder);
    return !subfolder.isEmpty() && QDir::isRelativePath(subfolder) &&
           clean != QLatin1String("..") && !clean.startsWith(QLatin1String("../"));
}

} // namespace

QByteArray JobListStore::encode(const Kept& kept)
{
    QJsonArray list;
    for (const Row& row : kept.rows) {
        QJsonArray values;
        for (const auto& [name, value] : row.values)
            values.append(QJsonArray{local(name), local(value)});
        QJsonObject kept{
            {QStringLiteral("input"), row.inputPath},
            {QStringLiteral("profile"), local(row.profileName)},
            {QStringLiteral("checked"), row.checked},
            {QStringLiteral("status"),
             rowStateName(row.state == RowState::Converting ? RowState::Ready : row.state)},
            {QStringLiteral("values"), values}};
        if (!row.subfolder.isEmpty())
            kept.insert(QStringLiteral("subfolder"), row.subfolder);
        if (!row.verdict.isEmpty())
            kept.insert(QStringLiteral("verdict"), verdictObject(row.verdict));
        list.append(kept);
    }
    const QJsonObject top{{QStringLiteral("format"), QString::fromLatin1(kFormat)},
                          {QStringLiteral("version"), kVersion},
                          {QStringLiteral("output"), kept.outputBox},
                          {QStringLiteral("rows"), list}};
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

std::optional<JobListStore::Kept> JobListStore::decode(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject top = document.object();
    if (top.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        top.value(QStringLiteral("version")).toInt() != kVersion ||
        !top.value(QStringLiteral("rows")).isArray())
        return std::nullopt;
    // Lists kept before the output box was have no "output"; anything but text is not ours.
    const QJsonValue output = top.value(QStringLiteral("output"));
    if (!output.isUndefined() && !output.isString())
        return std::nullopt;

    Kept kept;
    kept.outputBox = output.toString();
    QList<Row>& rows = kept.rows;
    for (const QJsonValue& entry : top.value(QStringLiteral("rows")).toArray()) {
        const QJsonObject object = entry.toObject();
        const QJsonValue input = object.value(QStringLiteral("input"));
        const QJsonValue profile = object.value(QStringLiteral("profile"));
        const QJsonValue checked = object.value(QStringLiteral("checked"));
        const QJsonValue status = object.value(QStringLiteral("status"));
        const QJsonValue values = object.value(QStringLiteral("values"));
        const QJsonValue subfolder = object.value(QStringLiteral("subfolder"));
        const QJsonValue verdict = object.value(QStringLiteral("verdict"));
        if (!input.isString() || input.toString().isEmpty() || !profile.isString() ||
            !checked.isBool() || !status.isString() || !values.isArray() ||
            !keptState(status.toString()) ||
            (!subfolder.isUndefined() && !staysInside(subfolder.toString())) ||
            (!verdict.isUndefined() && !verdict.isObject()))
            return std::nullopt;
        Row row;
        row.inputPath = input.toString();
        row.profileName = profile.toString().toLocal8Bit();
        row.checked = checked.toBool();
        row.state = *keptState(status.toString());
        row.subfolder = subfolder.toString();
        if (verdict.isObject())
            row.verdict = verdictOf(verdict.toObject());
        for (const QJsonValue& pair : values.toArray()) {
            const QJsonArray nameAndValue = pair.toArray();
            if (nameAndValue.size() != 2 || !nameAndValue[0].isString() ||
                !nameAndValue[1].isString())
                return std::nullopt;
            row.values.append({nameAndValue[0].toString().toLocal8Bit(),
                               nameAndValue[1].toString().toLocal8Bit()});
        }
        rows.append(std::move(row));
    }
    return kept;
}

bool JobListStore::save(const Kept& list) const
{
    return saveEncoded(encode(list));
}

bool JobListStore::saveEncoded(const QByteArray& bytes) const
{
    return KeptFile::write(m_path, bytes);
}

JobListStore::Found JobListStore::load(Kept& list) const
{
    QFile file(m_path);
    if (!file.exists())
        return Nothing;
    if (file.size() > kMaxBytes || !file.open(QIODevice::ReadOnly))
        return Damaged;
    std::optional<Kept> read = decode(file.readAll());
    if (!read)
        return Damaged;
    list = std::move(*read);
    return List;
}

QString JobListStore::setAside() const
{
    return KeptFile::setAside(m_path);
}

bool JobListStore::remove() const
{
    return !QFile::exists(m_path) || QFile::remove(m_path);
}
