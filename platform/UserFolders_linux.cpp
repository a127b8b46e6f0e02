#include "UserFolders.h"

#include <QDir>

namespace {

// The XDG base directory rules: a variable that is empty or not an absolute path is ignored.
QString base(const char* variable, const QString& fallbackUnderHome)
{
    QString value = qEnvironmentVariable(variable);
    if (value.isEmpty() || !QDir::isAbsolutePath(value))
        value = QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
    if (!value.endsWith(QLatin1Char('/')))
        value += QLatin1Char('/');
    return value + QStringLiteral("tovel/");
}

} // namespace

QString UserFolders::config()
{
    return base("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString UserFolders::state()
{
    return base("XDG_STATE_HOME", QStringLiteral(".local/state"));
}

QString UserFolders::data()
{
    return base("XDG_DATA_HOME", QStringLiteral(".local/share"));
}
