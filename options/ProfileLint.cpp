#include "ProfileLint.h"

#include "OptionTable.h"
#include "ProfileEntryParser.h"

#include <QFile>

ProfileProblem ProfileLint::Check(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return ProfileProblem::malformed(QStringLiteral("the file cannot be read"));
    const QList<QByteArray> lines = in.readAll().split('\n');
    QByteArray section;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const auto fault = [&](const QString& why) {
            return ProfileProblem::malformed(QStringLiteral("line %1: %2").arg(i + 1).arg(why));
        };
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            if (!line.endsWith(']'))
                return fault(QStringLiteral("a section header without its closing \"]\""));
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            return fault(
                QStringLiteral("\"%1\" is not a key=value line").arg(QString::fromLocal8Bit(line)));
        if (section != "Parameter")
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (!FindOption(key).name)
            return fault(QStringLiteral("unknown option \"%1\"").arg(QString::fromLocal8Bit(key)));
        ProfileOption option;
        if (!value.isEmpty() && !ProfileEntryParser::ParseEntry(key, value, option))
            return fault(QStringLiteral("the entry of \"%1\" needs access,reserved,value")
                             .arg(QString::fromLocal8Bit(key)));
        if (!option.listText.isEmpty() &&
            (!option.listText.startsWith('{') || !option.listText.endsWith('}') ||
             option.choices.isEmpty()))
            return fault(
                QStringLiteral("the value list of \"%1\" does not parse: %2")
                    .arg(QString::fromLocal8Bit(key), QString::fromLocal8Bit(option.listText)));
    }
    return ProfileProblem{};
}
