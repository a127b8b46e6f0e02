#include "OutputNamePattern.h"

#include "ConversionJob.h"
#include "Profile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QRegularExpression& fieldPattern()
{
    static const QRegularExpression field(QStringLiteral("\\{([^{}]*)\\}"));
    return field;
}

const QStringList& fieldNames()
{
    static const QStringList names{QStringLiteral("name"),    QStringLiteral("ext"),
                                   QStringLiteral("profile"), QStringLiteral("crf"),
                                   QStringLiteral("parent"),  QStringLiteral("date"),
                                   QStringLiteral("n")};
    return names;
}

// The input's name up to its last dot, as outputs are named by default.
QString baseName(const QString& input)
{
    const QString file = input.mid(input.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? file : file.left(dot);
}

// A field's value never splits the name into folders.
QString safe(QString value)
{
    return value.replace(QLatin1Char('/'), QLatin1Char('-')).remove(QChar(0));
}

bool onlyDots(const QString& name)
{
    return !name.isEmpty() && name.count(QLatin1Char('.')) == name.size();
}

} // namespace

QString OutputNamePattern::problem(const QString& pattern)
{
    if (pattern.trimmed().isEmpty())
        return QStringLiteral("the name pattern is empty");
    if (pattern.contains(QLatin1Char('/')) || pattern.contains(QChar(0)))
        return QStringLiteral("a file name cannot hold \"/\"; {parent} gives the folder's name");
    QString literal = pattern;
    auto fields = fieldPattern().globalMatch(pattern);
    while (fields.hasNext()) {
        const QString field = fields.next().captured(1);
        if (!fieldNames().contains(field))
            return QStringLiteral("{%1} is not a field: use {name}, {ext}, {profile}, {crf}, "
                                  "{parent}, {date} or {n}")
                .arg(field);
    }
    literal.remove(fieldPattern());
    if (literal.contains(QLatin1Char('{')) || literal.contains(QLatin1Char('}')))
        return QStringLiteral("a brace of the name pattern is not closed");
    if (onlyDots(pattern))
        return QStringLiteral("a name of dots only is not a file name");
    return QString();
}

OutputNamePattern::OutputNamePattern(const QString& pattern, bool keepTree)
    : m_pattern(problem(pattern).isEmpty() ? pattern : QString::fromLatin1(kDefault)),
      m_keepTree(keepTree)
{
}

QString OutputNamePattern::nameFor(const ConversionJob& job, int row) const
{
    const QString own = baseName(job.inputPath);
    if (isDefault())
        return own;
    const QFileInfo source(job.inputPath);
    const Profile* profile = job.profile.get();
    const auto value = [&](const QString& field) -> QString {
        if (field == QLatin1String("name"))
            return own;
        if (field == QLatin1String("parent"))
            return safe(source.absoluteDir().dirName());
        if (field == QLatin1String("date"))
            return source.lastModified().date().toString(Qt::ISODate);
        if (field == QLatin1String("n"))
            return QString::number(row + 1);
        if (!profile)
            return QString();
        if (field == QLatin1String("ext"))
            return safe(QString::fromLocal8Bit(profile->extName));
        if (field == QLatin1String("crf")) {
            const ProfileOption* crf = profile->optionNamed("crf");
            return crf ? safe(QString::fromLocal8Bit(crf->value).trimmed()) : QString();
        }
        return safe(
            QString::fromLocal8Bit(profile->sName.isEmpty() ? profile->name : profile->sName));
    };
    // One pass, so that a field's value is never read as a field itself.
    QString name;
    qsizetype at = 0;
    auto fields = fieldPattern().globalMatch(m_pattern);
    while (fields.hasNext()) {
        const QRegularExpressionMatch field = fields.next();
        name += m_pattern.mid(at, field.capturedStart() - at) + value(field.captured(1));
        at = field.capturedEnd();
    }
    name += m_pattern.mid(at);
    return name.trimmed().isEmpty() || onlyDots(name) ? own : name;
}
