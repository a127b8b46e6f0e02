#include "WriteLocations.h"

#include "UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <filesystem>
#include <system_error>

namespace {

const QString kConfigName = QStringLiteral("config.ini");
const QString kTraceName = QStringLiteral("trace.log");
// Installed beside the program by the install rules, never by the build.
const QString kInstalledMark = QStringLiteral("installed-layout");

QString withSeparator(QString folder)
{
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// Empty when `folder` exists or could be made, else why not.
QString makeFolder(const QString& folder)
{
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(QFile::encodeName(folder).constData()), error);
    if (!error && QFileInfo(folder).isDir())
        return QString();
    return QStringLiteral("The folder %1 cannot be created (%2).")
        .arg(QDir::toNativeSeparators(folder),
             error ? QString::fromLocal8Bit(error.message()) : QStringLiteral("not a folder"));
}

// The files of the application folder a run would write into, where they exist already.
QStringList writtenFiles(const QString& appFolder)
{
    QStringList names{kConfigName, kTraceName};
    names +=
        QDir(appFolder).entryList({QStringLiteral("edit*.avs")},
                                  QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    QStringList present;
    for (const QString& name : names)
        if (QFileInfo::exists(appFolder + name))
            present += name;
    return present;
}

bool canWrite(const QString& path)
{
    const QFileInfo info(path);
    return info.isWritable() && !info.isDir();
}

} // namespace

WriteLocations WriteLocations::besideProgram(const QString& appFolder)
{
    WriteLocations where;
    where.m_appFolder = withSeparator(appFolder);
    where.m_configFile = where.m_appFolder + kConfigName;
    where.m_writeFolder = where.m_appFolder;
    where.m_stateFolder = where.m_writeFolder;
    where.m_dataFolder = where.m_appFolder;
    return where;
}

WriteLocations WriteLocations::perUser(const QString& appFolder, const QString& why)
{
    WriteLocations where;
    where.m_beside = false;
    where.m_appFolder = withSeparator(appFolder);
    const QString configFolder = UserFolders::config();
    where.m_configFile = configFolder + kConfigName;
    where.m_configDefaults = where.m_appFolder + kConfigName;
    where.m_writeFolder = UserFolders::state();
    where.m_stateFolder = where.m_writeFolder;
    where.m_dataFolder = UserFolders::data();

    QStringList problems;
    if (!why.isEmpty())
        problems += why;
    for (const QString& folder : {configFolder, where.m_writeFolder}) {
        const QString trouble = makeFolder(folder);
        if (!trouble.isEmpty())
            problems += trouble + QStringLiteral(" What belongs there is not kept in this run.");
    }
    const QFileInfo config(where.m_configFile);
    if (config.exists() && (config.isDir() || !config.isReadable()))
        problems += QStringLiteral("The settings file %1 cannot be read (%2); the program starts "
                                   "with the default settings.")
                        .arg(QDir::toNativeSeparators(where.m_configFile),
                             config.isDir() ? QStringLiteral("it is a folder")
                                            : QStringLiteral("permission denied"));
    where.m_problem = problems.join(QLatin1Char('\n'));
    return where;
}

WriteLocations WriteLocations::withWriteFolder(const QString& folder) const
{
    WriteLocations where = *this;
    where.m_writeFolder = withSeparator(folder);
    return where;
}

WriteLocations WriteLocations::decide(const QString& appFolder)
{
    const QString folder = withSeparator(appFolder);
    // Whoever runs an installed program, root too, keeps their files in their own folders.
    if (QFileInfo::exists(folder + kInstalledMark))
        return perUser(folder);
    QStringList blocked;
    int writable = 0;
    const QFileInfo folderInfo(folder);
    if (folderInfo.isDir() && folderInfo.isWritable())
        ++writable;
    else
        blocked += QStringLiteral("the folder itself");
    for (const QString& name : writtenFiles(folder)) {
        if (canWrite(folder + name))
            ++writable;
        else
            blocked += name;
    }
    if (blocked.isEmpty())
        return besideProgram(folder);
    if (writable == 0)
        return perUser(folder);

    WriteLocations where = perUser(folder);
    const QString why =
        QStringLiteral("Not everything the program writes in %1 can be written there (%2 "
                       "cannot). This run keeps its settings in %3 and its trace in %4.")
            .arg(QDir::toNativeSeparators(folder), blocked.join(QStringLiteral(", ")),
                 QDir::toNativeSeparators(where.m_configFile),
                 QDir::toNativeSeparators(where.traceFile()));
    where.m_problem = where.m_problem.isEmpty() ? why : why + QLatin1Char('\n') + where.m_problem;
    return where;
}
